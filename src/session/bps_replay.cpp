#include "session/bps_replay.h"

#include "model/rom/rom_image.h"

#include <cstring>

namespace {

// Reads BPS's variable-length numbers; every value is kept below 2^40.
class Reader {
public:
    Reader(const QByteArray& bytes, qint64 end) : m_bytes(bytes), m_end(end) {}

    bool number(qint64* value)
    {
        qint64 data = 0;
        qint64 shift = 1;
        for (;;) {
            if (m_at >= m_end || shift > (qint64(1) << 35))
                return false;
            const quint8 x = quint8(m_bytes.at(m_at++));
            data += qint64(x & 0x7F) * shift;
            if (x & 0x80)
                break;
            shift <<= 7;
            data += shift;
        }
        if (data >= (qint64(1) << 40))
            return false;
        *value = data;
        return true;
    }
    bool take(qint64 length, const char** bytes)
    {
        if (length < 0 || length > m_end - m_at)
            return false;
        *bytes = m_bytes.constData() + m_at;
        m_at += length;
        return true;
    }
    bool atEnd() const { return m_at == m_end; }

private:
    const QByteArray& m_bytes;
    qint64 m_end;
    qint64 m_at = 0;
};

constexpr qint64 FooterSize = 12;   // three CRC32s

} // namespace

std::optional<QByteArray> replayBpsOnto(const QByteArray& source, const QByteArray& patch)
{
    if (patch.size() < 4 + FooterSize || !patch.startsWith("BPS1"))
        return std::nullopt;
    Reader in(patch, patch.size() - FooterSize);
    const char* skipped = nullptr;
    qint64 sourceSize = 0, targetSize = 0, metadataSize = 0;
    if (!in.take(4, &skipped) || !in.number(&sourceSize) || !in.number(&targetSize) || !in.number(&metadataSize)
        || !in.take(metadataSize, &skipped) || targetSize > RomImage::MaxSize)
        return std::nullopt;

    QByteArray target(targetSize, '\0');
    char* out = target.data();
    const qint64 have = source.size();
    qint64 at = 0, sourceAt = 0, targetAt = 0;
    while (!in.atEnd()) {
        qint64 data = 0;
        if (!in.number(&data))
            return std::nullopt;
        const qint64 length = (data >> 2) + 1;
        if (length > targetSize - at)
            return std::nullopt;
        switch (data & 3) {
        case 0:   // SourceRead: the source's bytes at the same place
            if (at + length > have)
                return std::nullopt;
            std::memcpy(out + at, source.constData() + at, size_t(length));
            break;
        case 1: { // TargetRead: bytes carried in the patch
            const char* bytes = nullptr;
            if (!in.take(length, &bytes))
                return std::nullopt;
            std::memcpy(out + at, bytes, size_t(length));
            break;
        }
        case 2:   // SourceCopy
        case 3: { // TargetCopy: may overlap what it writes, so byte by byte
            qint64 offset = 0;
            if (!in.number(&offset))
                return std::nullopt;
            const bool fromSource = (data & 3) == 2;
            qint64& from = fromSource ? sourceAt : targetAt;
            from += (offset & 1) ? -(offset >> 1) : (offset >> 1);
            // A target copy reads only bytes already written (each one before the byte it fills).
            const bool inside = fromSource ? from >= 0 && from + length <= have : from >= 0 && from < at;
            if (!inside)
                return std::nullopt;
            const char* base = fromSource ? source.constData() : out;
            for (qint64 i = 0; i < length; ++i)
                out[at + i] = base[from + i];
            from += length;
            break;
        }
        }
        at += length;
    }
    if (at != targetSize)
        return std::nullopt;
    return target;
}
