#pragma once

#include <QRgb>
#include <QtGlobal>

// Rows of packed 24-bit pixels, as picture files store them: three bytes a
// pixel, blue, green, red for a BMP and red, green, blue for a PNG. Row i of
// the band, picture row top + i, starts at first + i * stride; the stride is
// negative for a BMP band, whose file holds its rows from the bottom up.
struct PackedRows {
    uchar* first = nullptr;
    qsizetype stride = 0;
    int top = 0;
    int rows = 0;
    bool bgr = false;

    uchar* row(int i) const { return first + qsizetype(i) * stride; }
};

// `width` pixels of a Format_RGB32 row (0xffRRGGBB words) as packed pixels.
void packRgb32Row(const QRgb* in, int width, uchar* out, bool bgr);
