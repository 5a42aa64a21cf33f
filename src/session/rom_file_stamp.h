#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What the editor knows of its ROM file as it last read or wrote it: size,
// modification time and CRC32. Another program that rewrote the file since
// changes the size or the bytes; a file only touched (time changed, bytes
// the same) has not changed.
struct RomFileStamp {
    qint64 size = -1;          // -1: no file known
    QDateTime modified;
    quint32 crc = 0;

    // `bytes` were just read from or written to `path`.
    static RomFileStamp of(const QString& path, const QByteArray& bytes);
    bool isKnown() const { return size >= 0; }
    // The file at `path` no longer holds what the stamp says (gone, another
    // size, or another time and other bytes). Reads the file only when its
    // size is the same and its time is not.
    bool changedOn(const QString& path) const;
    // The file's size and time as they are now, to tell one change from the next.
    static QString quickLook(const QString& path);
};
