#pragma once

#include "model/catalogue/map_record.h"
#include "model/encounters/encounter_tables.h"
#include "model/events/event_records.h"
#include "model/map/map_state.h"

class RomImage;

// The shown map's working copies: its cells, its event tables and its wild
// tables, written into an image as a save writes them. A copy is a few
// kilobytes, so one can be taken at every change and written in elsewhere.
struct WorkingCopies {
    MapRecord record;   // no map: nothing is written
    MapState map;
    EventState events;
    EncounterTables encounters;

    void writeInto(RomImage& rom) const { writeWorkingCopies(record, map, events, encounters, rom); }

    // The one place where map bytes, event tables and wild tables go into an image.
    static void writeWorkingCopies(const MapRecord& record, const MapState& map, const EventState& events,
                                   const EncounterTables& encounters, RomImage& rom);
};
