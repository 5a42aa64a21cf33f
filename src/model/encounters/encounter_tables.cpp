#include "model/encounters/encounter_tables.h"

bool EncounterTables::setLevel(int time, int slot, qint32 level)
{
    if (!isSlot(time, slot))
        return false;
    times[time][slot].level = level;
    return true;
}

bool EncounterTables::setNumber(int time, int slot, qint32 number)
{
    if (!isSlot(time, slot))
        return false;
    times[time][slot].number = number;
    return true;
}

bool EncounterTables::setSlot(int time, int slot, const EncounterSlot& value)
{
    if (!isSlot(time, slot))
        return false;
    times[time][slot] = value;
    return true;
}

void EncounterTables::clear()
{
    times = {};
}
