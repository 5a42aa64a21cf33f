#include "model/encounters/randomizer.h"

quint32 Randomizer::Random(quint32 n)
{
    m_state = m_state * Multiplier + 1u;  // wraps modulo 2^32
    return quint32((quint64(m_state) * n) >> 32);
}

qint32 Randomizer::RandomInRange(qint32 max, qint32 min)
{
    if (max < 1 || max < min)
        return min;
    qint32 r;
    do
        r = qint32(Random(quint32(max))) + 1;
    while (r < min);
    return r;
}
