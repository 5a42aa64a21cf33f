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

// Index of a time of day in EncounterTables::times.
enum TimeOfDay : int { Morning = 0, Day = 1, Night = 2 };

using EncounterTable = std::array<EncounterSlot, SlotsPerTime>;

// The current map's morning, day and night tables.
// The edits of the Wild Critters page go through the operations below; each
// refuses (returns false, changes nothing) a time or slot that does not exist.
struct EncounterTables {
    std::array<EncounterTable, TimesOfDay> times{};
    EncounterTable& morning() { return times[Morning]; }
    EncounterTable& day() { return times[Day]; }
    EncounterTable& night() { return times[Night]; }
    const EncounterTable& morning() const { return times[Morning]; }
    const EncounterTable& day() const { return times[Day]; }
    const EncounterTable& night() const { return times[Night]; }
    bool operator==(const EncounterTables&) const = default;

    static bool isSlot(int time, int slot)
    {
        return time >= 0 && time < TimesOfDay && slot >= 0 && slot < SlotsPerTime;
    }
    // The slot, or an empty slot for one that does not exist.
    EncounterSlot slotAt(int time, int slot) const
    {
        return isSlot(time, slot) ? times[time][slot] : EncounterSlot{};
    }

    bool setLevel(int time, int slot, qint32 level);
    bool setNumber(int time, int slot, qint32 number);
    bool setSlot(int time, int slot, const EncounterSlot& value);
    void clear();
};
