#include "session/working_copies.h"

#include "model/encounters/encounter_io.h"
#include "model/events/event_tables.h"
#include "model/rom/rom_image.h"

void WorkingCopies::writeWorkingCopies(const MapRecord& record, const MapState& map, const EventState& events,
                                       const EncounterTables& encounters, RomImage& rom)
{
    if (!record.isMap())
        return;
    map.writeMap(rom);
    // The tables were read from inside this image, so they fit it again.
    saveEventTables(events, rom);
    if (record.EncounterStart > 0)
        writeEncounterTables(rom, record.EncounterStart, encounters);
}
