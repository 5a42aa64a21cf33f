#pragma once

#include <QtGlobal>
#include <array>

// One wild slot: the creature's level and number. 32-bit, since the map file
// stores them as two 32-bit little-endian integers, level first.
struct EncounterSlot {
    qint32 level = 0;
    qint32 number = 0;
    bool operator==(const EncounterSlot&) const = default;
};

inline constexpr int SlotsPerTime = 7;
inline constexpr int TimesOfDay = 3;          // morning, day, night
inline constexpr int EncounterTableBytes = 42; // 21 slots of two bytes in the ROM

using EncounterTable = std::array<EncounterSlot, SlotsPerTime>;

// The current map's morning, day and night tables.
struct EncounterTables {
    std::array<EncounterTable, TimesOfDay> times{};
    EncounterTable& morning() { return times[0]; }
    EncounterTable& day() { return times[1]; }
    EncounterTable& night() { return times[2]; }
    bool operator==(const EncounterTables&) const = default;
};
