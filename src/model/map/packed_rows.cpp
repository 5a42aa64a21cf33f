#include "model/map/packed_rows.h"

void packRgb32Row(const QRgb* in, int width, uchar* out, bool bgr)
{
    const int first = bgr ? 2 : 0, last = bgr ? 0 : 2;
    for (int x = 0; x < width; ++x, out += 3) {
        const QRgb p = in[x];
        out[first] = uchar(qRed(p));
        out[1] = uchar(qGreen(p));
        out[last] = uchar(qBlue(p));
    }
}
