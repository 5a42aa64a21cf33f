#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// A recovery file: a BPS patch from the ROM file as it lies on disk to the
// image with the working copies written in. The BPS metadata field holds a
// small JSON object that says which file it belongs to and what was shown.
struct RecoveryInfo {
    QString romPath;          // absolute path of the ROM file
    qint64 romSize = 0;       // its size and CRC32 when the patch was made
    quint32 romCrc = 0;
    QString catalogueFolder;
    QString mapName;          // empty when no map was shown
    QDateTime saved;          // when the recovery file was written (UTC)
};

struct RecoveredImage {
    std::optional<QByteArray> image;
    QString error;
};

namespace RecoveryFile {

// The file name of the recovery file of `romPath`, derived from a hash of
// its absolute path, so that each ROM file has one of its own; with an
// `owner`, the name of that editor's own copy (see RomLock).
QString fileNameFor(const QString& romPath, const QString& owner = {});

QByteArray make(const QByteArray& onDisk, const QByteArray& image, const RecoveryInfo& info);

// The description of a recovery file; nullopt (and `error`) when the file is
// no patch or its metadata is not ours.
std::optional<RecoveryInfo> readInfo(const QByteArray& file, QString* error = nullptr);

// The image the recovery file holds, made from the ROM file's bytes as they
// were when it was written.
RecoveredImage apply(const QByteArray& onDisk, const QByteArray& file);

// The bytes of a recovery file; nullopt when it cannot be read or is far
// larger than any recovery file.
std::optional<QByteArray> read(const QString& path);

// The ROM file of the most recent recovery file in `folder` whose ROM file
// still exists; empty when there is none.
QString latestRom(const QString& folder);

} // namespace RecoveryFile
