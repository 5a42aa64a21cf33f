#include "demo_bmp.h"

#include <QtEndian>

namespace {

void put16(QByteArray& out, quint16 v) { char b[2]; qToLittleEndian(v, b); out.append(b, 2); }
void put32(QByteArray& out, quint32 v) { char b[4]; qToLittleEndian(v, b); out.append(b, 4); }

}

QByteArray demoBmp24(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width(), height = image.height();
    const int rowBytes = (width * 3 + 3) & ~3;
    const quint32 pixelBytes = quint32(rowBytes) * quint32(height);
    QByteArray out;
    out.reserve(int(54 + pixelBytes));
    // File header.
    out.append("BM", 2);
    put32(out, 54 + pixelBytes);
    put32(out, 0);
    put32(out, 54);
    // Information header.
    put32(out, 40);
    put32(out, quint32(width));
    put32(out, quint32(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);              // no compression
    put32(out, pixelBytes);
    put32(out, 2835);           // 72 dots per inch
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
        }
        out.append(QByteArray(rowBytes - width * 3, '\0'));
    }
    return out;
}
