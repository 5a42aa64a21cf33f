#pragma once

#include "model/encounters/encounter_tables.h"

#include <QString>
#include <optional>

class RomImage;

// A map's wild table in the ROM: 42 bytes at its offset, morning slots 0 to 6,
// then day, then night, each slot one byte of level and one of number.
// Nothing before or after those 42 bytes belongs to the table.

// True when all 42 bytes of a table at `offset` lie inside the image.
bool encounterTableInside(const RomImage& rom, qint64 offset);

// The 21 slots at `offset`, bytes zero-extended; nothing when the table does
// not lie wholly inside the image.
std::optional<EncounterTables> readEncounterTables(const RomImage& rom, qint64 offset);

// Writes the low 8 bits of each slot's level, then of its number, over exactly
// the 42 bytes that readEncounterTables reads. Refuses (returns false, writes
// nothing) when the table does not lie wholly inside the image.
bool writeEncounterTables(RomImage& rom, qint64 offset, const EncounterTables& tables);

// The list line of a slot: "L: 5 N: 16".
QString encounterLine(const EncounterSlot& slot);
