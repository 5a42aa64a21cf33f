#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class RomBackups;

// The whole cartridge image, held in memory from Load Rom until exit.
// Every read and write is all-or-nothing and never grows the image, so that a
// bad catalogue offset can never reach outside it.
class RomImage {
public:
    // Replaces the whole content with the file's bytes. On failure the image
    // is unchanged and `error` receives "Cannot open file <path>".
    bool loadFromFile(const QString& path, QString* error = nullptr);
    // Writes the whole image atomically (the old file stays whole on failure);
    // on failure `error` receives "Cannot create file <path>". With `backups`,
    // the file about to be replaced is first kept as NAME.bak when this is
    // its first save in the run (`backupKept` tells whether one was kept); a
    // copy that cannot be written refuses the save, and `error` names both files.
    bool saveToFile(const QString& path, QString* error = nullptr, RomBackups* backups = nullptr,
                    bool* backupKept = nullptr) const;

    qint64 size() const { return m_bytes.size(); }
    const QByteArray& bytes() const { return m_bytes; }
    void setBytes(const QByteArray& bytes) { m_bytes = bytes; }
    void clear() { m_bytes.clear(); }

    // True when [offset, offset + length) lies wholly inside the image.
    bool contains(qint64 offset, qint64 length) const;
    // The byte at `offset`, or -1 when it lies outside the image.
    int byteAt(qint64 offset) const;
    // All-or-nothing reads and writes inside the image.
    bool readAt(qint64 offset, void* destination, qint64 n) const;
    bool writeAt(qint64 offset, const void* source, qint64 n);

    // Larger than any Game Boy cartridge (8 MiB); guards against absurd growth.
    static constexpr qint64 MaxSize = 64 * 1024 * 1024;

private:
    QByteArray m_bytes;
};
