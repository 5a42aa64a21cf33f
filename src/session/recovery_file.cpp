#include "session/recovery_file.h"

#include "model/rom/bps_patch.h"
#include "model/rom/crc32.h"
#include "model/rom/rom_image.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
const QString Format = QStringLiteral("kartola-recovery");
constexpr int FormatVersion = 1;
}

QString RecoveryFile::fileNameFor(const QString& romPath, const QString& owner)
{
    const QByteArray path = QFileInfo(romPath).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex().left(32);
    if (!owner.isEmpty())
        return QStringLiteral("%1-%2.bps").arg(QString::fromLatin1(hash), owner);
    return QStringLiteral("%1.bps").arg(QString::fromLatin1(hash));
}

QByteArray RecoveryFile::make(const QByteArray& onDisk, const QByteArray& image, const RecoveryInfo& info)
{
    QJsonObject meta;
    meta.insert(Format, FormatVersion);
    meta.insert(QStringLiteral("rom"), info.romPath);
    // Sizes as text: a JSON number is a double.
    meta.insert(QStringLiteral("size"), QString::number(info.romSize));
    meta.insert(QStringLiteral("crc32"), QString::number(info.romCrc, 16));
    meta.insert(QStringLiteral("catalogue"), info.catalogueFolder);
    meta.insert(QStringLiteral("map"), info.mapName);
    meta.insert(QStringLiteral("saved"), info.saved.toUTC().toString(Qt::ISODateWithMs));
    return makeBpsPatch(onDisk, image, QJsonDocument(meta).toJson(QJsonDocument::Compact), BpsSearch::SameOffset);
}

std::optional<RecoveryInfo> RecoveryFile::readInfo(const QByteArray& file, QString* error)
{
    auto refuse = [error]() -> std::optional<RecoveryInfo> {
        if (error)
            *error = QStringLiteral("This is no recovery file of Kartola.");
        return std::nullopt;
    };
    const std::optional<QByteArray> metadata = bpsMetadata(file);
    if (!metadata)
        return refuse();
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(*metadata, &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject())
        return refuse();
    const QJsonObject meta = document.object();
    if (meta.value(Format).toInt() != FormatVersion)
        return refuse();
    RecoveryInfo info;
    bool sizeOk = false, crcOk = false;
    info.romPath = meta.value(QStringLiteral("rom")).toString();
    info.romSize = meta.value(QStringLiteral("size")).toString().toLongLong(&sizeOk);
    const qulonglong crc = meta.value(QStringLiteral("crc32")).toString().toULongLong(&crcOk, 16);
    info.romCrc = quint32(crc);
    info.catalogueFolder = meta.value(QStringLiteral("catalogue")).toString();
    info.mapName = meta.value(QStringLiteral("map")).toString();
    info.saved = QDateTime::fromString(meta.value(QStringLiteral("saved")).toString(), Qt::ISODateWithMs);
    if (info.romPath.isEmpty() || !sizeOk || info.romSize < 0 || !crcOk || crc > 0xFFFFFFFFu || !info.saved.isValid())
        return refuse();
    return info;
}

RecoveredImage RecoveryFile::apply(const QByteArray& onDisk, const QByteArray& file)
{
    PatchResult result = applyBpsPatch(onDisk, file);
    return {std::move(result.image), result.error};
}

std::optional<QByteArray> RecoveryFile::read(const QString& path)
{
    // At most the whole image in its patch, and a few words.
    constexpr qint64 MaxSize = 2 * RomImage::MaxSize + (1 << 20);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxSize)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QString RecoveryFile::latestRom(const QString& folder)
{
    // Files kept aside (NAME.recovered.bps) are not offered again.
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.bps")}, QDir::Files, QDir::Time);
    for (const QString& name : files) {
        if (name.contains(QStringLiteral(".recovered")))
            continue;
        const std::optional<QByteArray> bytes = read(QDir(folder).filePath(name));
        const std::optional<RecoveryInfo> info = bytes ? readInfo(*bytes) : std::nullopt;
        if (info && name == fileNameFor(info->romPath) && QFileInfo::exists(info->romPath))
            return info->romPath;
    }
    return {};
}
