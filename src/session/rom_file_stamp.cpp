#include "session/rom_file_stamp.h"

#include "model/rom/crc32.h"
#include "model/rom/rom_image.h"

#include <QFile>
#include <QFileInfo>

RomFileStamp RomFileStamp::of(const QString& path, const QByteArray& bytes)
{
    return {bytes.size(), QFileInfo(path).lastModified(), crc32Of(bytes)};
}

bool RomFileStamp::changedOn(const QString& path) const
{
    if (!isKnown())
        return false;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != size)
        return true;
    if (info.lastModified() == modified)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > RomImage::MaxSize)
        return true;
    const QByteArray bytes = file.readAll();
    return file.error() != QFileDevice::NoError || crc32Of(bytes) != crc;
}

QString RomFileStamp::quickLook(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("none");
    return QStringLiteral("%1 %2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}
