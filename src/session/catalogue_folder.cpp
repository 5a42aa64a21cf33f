#include "session/catalogue_folder.h"

#include "base/file_lookup.h"
#include "base/ini_file.h"
#include "base/safe_write.h"
#include "model/rom/cartridge_header.h"
#include "session/editor_session.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace CatalogueFolder {

namespace {
// The six files of a catalogue.
constexpr const char* FileNames[] = {"Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini", "Options.ini"};
} // namespace

QString romKey(const QByteArray& image)
{
    if (image.size() < CartridgeHeader::HeaderEnd)
        return {};
    const QByteArray title = image.mid(CartridgeHeader::ChecksummedStart, 16);
    const QByteArray checksum = image.mid(CartridgeHeader::GlobalChecksumOffset, 2);
    return QString::fromLatin1(title.toHex()) + QLatin1Char('-') + QString::fromLatin1(checksum.toHex());
}

bool makeFiles(const QString& folder, QString* error)
{
    for (const char* name : FileNames) {
        const QString path = catalogueFilePath(folder, QLatin1String(name));
        if (QFileInfo::exists(resolveCatalogueFile(path)))
            continue;
        if (!writeFileAtomically(path, QByteArray())) {
            if (error)
                *error = QStringLiteral("Cannot create file %1").arg(path);
            return false;
        }
    }
    return true;
}

bool isWritable(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kartola-probe-XXXXXX")));
    if (!probe.open())
        return false;
    for (const char* name : FileNames) {
        const QFileInfo file(resolveCatalogueFile(catalogueFilePath(folder, QLatin1String(name))));
        if (file.exists() && !file.isWritable())
            return false;
    }
    return true;
}

QString ownCopyPath(const QString& romKey)
{
    const QString base = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                             .filePath(QStringLiteral("catalogues/") +
                                       (romKey.isEmpty() ? QStringLiteral("catalogue") : romKey));
    QString path = base;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QLatin1Char('-') + QString::number(n);
    return path;
}

bool copyFolder(const QString& from, const QString& to, QString* error)
{
    const QDir source(from);
    bool ok = QDir().mkpath(to);
    QString failed = to;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (ok && it.hasNext()) {
        const QString path = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(path));
        ok = it.fileInfo().isDir() ? QDir().mkpath(target) : QFile::copy(path, target);
        if (!ok)
            failed = path;
    }
    if (!ok) {
        QDir(to).removeRecursively();
        if (error)
            *error = QStringLiteral("Cannot copy %1 to %2").arg(QDir::toNativeSeparators(failed), QDir::toNativeSeparators(to));
    }
    return ok;
}

SessionOutcome switchTo(EditorSession& session, const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return SessionOutcome::refused(QStringLiteral("Cannot open folder %1").arg(folder));
    const std::optional<bool> keep = session.wholeImage().askKeepWorkingCopies();
    if (!keep)
        return SessionOutcome::declined();
    if (*keep) {
        session.writeWorkingCopies();
        session.wholeImage().writtenOutsideHistory();
    }
    session.state().core.catalogue = Catalogue(folder);
    IniFile::dropCache();
    session.wholeImage().pickAgain();
    return SessionOutcome::done();
}

} // namespace CatalogueFolder
