#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The whole cartridge image, held in memory from Load Rom until exit.
// A growable byte buffer with a current position, as the editor addresses
// the ROM: set the position to an absolute offset, then read or write.
// The *At helpers are all-or-nothing and never grow the image; editing code
// uses them so that a bad catalogue offset can never reach outside the image.
class RomImage {
public:
    // Replaces the whole content with the file's bytes. On failure the image
    // is unchanged and `error` receives "Cannot open file <path>".
    bool loadFromFile(const QString& path, QString* error = nullptr);
    // Writes the whole image atomically (the old file stays whole on failure);
    // on failure `error` receives "Cannot create file <path>".
    bool saveToFile(const QString& path, QString* error = nullptr) const;

    void setPosition(qint64 offset) { m_position = offset < 0 ? 0 : offset; }
    qint64 position() const { return m_position; }

    // Copies up to n bytes from the position and advances it; near or past
    // the end fewer (or no) bytes are delivered. Returns the count copied.
    qint64 read(void* destination, qint64 n);
    // Copies n bytes to the position and advances it; writing past the end
    // makes the image longer (a gap is filled with zeros). Refuses (returns
    // false, writes nothing) when the image would exceed MaxSize.
    bool write(const void* source, qint64 n);

    qint64 size() const { return m_bytes.size(); }
    const QByteArray& bytes() const { return m_bytes; }
    void setBytes(const QByteArray& bytes) { m_bytes = bytes; m_position = 0; }
    void clear() { m_bytes.clear(); m_position = 0; }

    // True when [offset, offset + length) lies wholly inside the image.
    bool contains(qint64 offset, qint64 length) const;
    // The byte at `offset`, or -1 when it lies outside the image.
    int byteAt(qint64 offset) const;
    // All-or-nothing reads and writes inside the image; they do not move the position.
    bool readAt(qint64 offset, void* destination, qint64 n) const;
    bool writeAt(qint64 offset, const void* source, qint64 n);

    // Larger than any Game Boy cartridge (8 MiB); guards against absurd growth.
    static constexpr qint64 MaxSize = 64 * 1024 * 1024;

private:
    QByteArray m_bytes;
    qint64 m_position = 0;
};
