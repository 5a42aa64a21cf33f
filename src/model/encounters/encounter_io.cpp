#include "model/encounters/encounter_io.h"

#include "model/rom/rom_image.h"

bool encounterTableInside(const RomImage& rom, qint64 offset)
{
    return rom.contains(offset, EncounterTableBytes);
}

std::optional<EncounterTables> readEncounterTables(const RomImage& rom, qint64 offset)
{
    unsigned char bytes[EncounterTableBytes];
    if (!rom.readAt(offset, bytes, EncounterTableBytes))
        return std::nullopt;
    EncounterTables tables;
    const unsigned char* p = bytes;
    for (EncounterTable& table : tables.times) {
        for (EncounterSlot& slot : table) {
            slot.level = p[0];
            slot.number = p[1];
            p += 2;
        }
    }
    return tables;
}

bool writeEncounterTables(RomImage& rom, qint64 offset, const EncounterTables& tables)
{
    unsigned char bytes[EncounterTableBytes];
    unsigned char* p = bytes;
    for (const EncounterTable& table : tables.times) {
        for (const EncounterSlot& slot : table) {
            p[0] = static_cast<unsigned char>(quint32(slot.level) & 0xFF);
            p[1] = static_cast<unsigned char>(quint32(slot.number) & 0xFF);
            p += 2;
        }
    }
    return rom.writeAt(offset, bytes, EncounterTableBytes);
}

QString encounterLine(const EncounterSlot& slot)
{
    return QStringLiteral("L: %1 N: %2").arg(slot.level).arg(slot.number);
}
