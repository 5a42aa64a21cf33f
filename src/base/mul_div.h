#pragma once

#include <QtGlobal>

// a * b / c in 64-bit precision, rounded to the nearest integer with halves
// going away from zero, as the Windows MulDiv does; -1 when c is 0.
inline qint32 MulDiv(qint32 a, qint32 b, qint32 c)
{
    if (c == 0)
        return -1;
    qint64 product = qint64(a) * qint64(b);
    bool negative = (product < 0) != (c < 0);
    qint64 num = product < 0 ? -product : product;
    qint64 den = c < 0 ? -qint64(c) : qint64(c);
    qint64 result = (num + den / 2) / den;
    return qint32(negative ? -result : result);
}
