#include "model/rom/patch_file.h"

#include "base/safe_write.h"
#include "model/rom/bps_patch.h"
#include "model/rom/ips_patch.h"
#include "model/rom/rom_image.h"

#include <QFile>
#include <QFileInfo>

namespace {
// A patch never needs to be much larger than the largest image it can make.
constexpr qint64 MaxPatchSize = 2 * RomImage::MaxSize;
}

std::optional<PatchFormat> patchFormatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("ips"))
        return PatchFormat::Ips;
    if (suffix == QLatin1String("bps"))
        return PatchFormat::Bps;
    return std::nullopt;
}

QString writePatchFile(const QString& path, const QByteArray& original, const QByteArray& target)
{
    const std::optional<PatchFormat> format = patchFormatFor(path);
    if (!format)
        return QStringLiteral("A patch file is named .ips or .bps, not %1.").arg(QFileInfo(path).fileName());
    QByteArray patch;
    if (*format == PatchFormat::Ips) {
        const PatchResult made = makeIpsPatch(original, target);
        if (!made.image)
            return made.error;
        patch = *made.image;
    } else {
        patch = makeBpsPatch(original, target);
    }
    if (!writeFileAtomically(path, patch))
        return QStringLiteral("Cannot create file %1").arg(path);
    return {};
}

PatchResult applyPatchFile(const QString& path, const QByteArray& image, WorkProgress* progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxPatchSize)
        return {std::nullopt, QStringLiteral("Cannot open file %1").arg(path)};
    const QByteArray patch = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, QStringLiteral("Cannot open file %1").arg(path)};
    if (patch.startsWith("PATCH"))
        return applyIpsPatch(image, patch, progress);
    if (patch.startsWith("BPS1"))
        return applyBpsPatch(image, patch, progress);
    return {std::nullopt, QStringLiteral("%1 is neither an IPS nor a BPS patch.").arg(QFileInfo(path).fileName())};
}
