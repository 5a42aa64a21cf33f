#include "model/rom/crc32.h"

#include <zlib.h>

quint32 crc32Of(const QByteArray& bytes)
{
    // zlib takes lengths as uInt; feed larger buffers in pieces.
    constexpr qsizetype Piece = 1 << 30;
    uLong crc = crc32(0L, Z_NULL, 0);
    const auto* data = reinterpret_cast<const Bytef*>(bytes.constData());
    for (qsizetype done = 0; done < bytes.size(); done += Piece)
        crc = crc32(crc, data + done, uInt(qMin<qsizetype>(Piece, bytes.size() - done)));
    return quint32(crc);
}
