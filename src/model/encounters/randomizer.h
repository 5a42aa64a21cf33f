#pragma once

#include <QtGlobal>

// The randomizer's generator: a 32-bit linear congruential generator that
// starts at 0 and is never seeded, so every run draws the same sequence.
class Randomizer {
public:
    // An integer from 0 to n - 1 (0 when n is 0); advances the state by one step.
    quint32 Random(quint32 n);

    // An integer from min to max, both included: draws Random(max) + 1 until
    // it is at least min, each rejected draw using up one step.
    // With max < min or max < 1 no draw could ever succeed: returns min and
    // leaves the state alone.
    qint32 RandomInRange(qint32 max, qint32 min);

    quint32 state() const { return m_state; }

    static constexpr quint32 Multiplier = 134775813u;

private:
    quint32 m_state = 0;
};
