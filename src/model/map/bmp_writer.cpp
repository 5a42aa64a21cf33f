#include "model/map/bmp_writer.h"

#include "base/safe_write.h"
#include "model/map/packed_rows.h"

#include <QImage>

#include <limits>

namespace {

void putUInt16(char* at, quint16 value)
{
    at[0] = char(value & 0xFF);
    at[1] = char(value >> 8);
}

void putUInt32(char* at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

qint64 bmpRowBytes(int width)
{
    return (qint64(qMax(0, width)) * 3 + 3) / 4 * 4;
}

QByteArray bmpHeader24(int width, int height)
{
    width = qMax(0, width);
    height = qMax(0, height);
    const qint64 imageBytes = bmpRowBytes(width) * height;
    const qint64 fileBytes = BmpHeaderBytes + imageBytes;
    if (fileBytes > std::numeric_limits<qint32>::max())
        return QByteArray();

    QByteArray out(BmpHeaderBytes, '\0');   // unused fields stay 0
    char* p = out.data();

    // File header.
    p[0] = 'B';
    p[1] = 'M';
    putUInt32(p + 2, quint32(fileBytes));
    // bytes 6..9: two reserved words, 0
    putUInt32(p + 10, BmpHeaderBytes);

    // Information header; resolution and colour counts stay 0.
    putUInt32(p + 14, 40);
    putUInt32(p + 18, quint32(width));
    putUInt32(p + 22, quint32(height));   // positive: rows stored bottom to top
    putUInt16(p + 26, 1);                 // planes
    putUInt16(p + 28, 24);                // bits per pixel
    // bytes 30..33: compression 0 (none)
    putUInt32(p + 34, quint32(imageBytes));
    return out;
}

QByteArray bmpRows24(const QImage& rows)
{
    QByteArray out;
    if (rows.isNull())
        return out;
    const int width = rows.width(), height = rows.height();
    const qint64 rowBytes = bmpRowBytes(width);
    out.resize(qsizetype(rowBytes * height));
    const QImage rgb = rows.format() == QImage::Format_RGB32 ? rows : rows.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        uchar* row = reinterpret_cast<uchar*>(out.data()) + rowBytes * (height - 1 - y);
        packRgb32Row(reinterpret_cast<const QRgb*>(rgb.constScanLine(y)), width, row, true);
        for (qint64 pad = qint64(width) * 3; pad < rowBytes; ++pad)
            row[pad] = 0;
    }
    return out;
}

QByteArray encodeBmp24(const QImage& image)
{
    const int width = image.isNull() ? 0 : image.width();
    const int height = image.isNull() ? 0 : image.height();
    QByteArray out = bmpHeader24(width, height);
    if (out.isEmpty() || width == 0 || height == 0)
        return out;
    out.append(bmpRows24(image));
    return out;
}

bool writeBmp24(const QString& path, const QImage& image, QString* error)
{
    const QByteArray content = encodeBmp24(image);
    const bool written = !content.isEmpty() && writeFileAtomically(path, content);
    if (!written) {
        if (error)
            *error = QStringLiteral("Cannot create file %1").arg(path);
    }
    return written;
}
