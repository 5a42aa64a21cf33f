#pragma once

#include "model/catalogue/map_record.h"
#include "model/encounters/encounter_tables.h"
#include "model/events/event_records.h"
#include "model/map/map_state.h"

#include <QByteArray>
#include <QtGlobal>

// A map file holds the current map's working copies byte for byte, with no
// header: the block bytes (MapWidth x MapHeight), the warps (5 bytes each),
// the signposts (5 bytes each), the people (13 bytes each, Y and X in their
// working form, 4 less than the ROM holds), then the morning, day and night
// encounter tables (7 slots of two 32-bit little-endian integers, level first).
// Sizes and counts are the current map's; the file stores none of them.
struct MapFileLayout {
    qint64 cells = 0;       // block bytes
    qint64 warps = 0;       // records in each table
    qint64 singposts = 0;
    qint64 people = 0;

    static constexpr qint64 WarpBytes = sizeof(TWarpRecord);
    static constexpr qint64 SingpostBytes = sizeof(TSingpostRecord);
    static constexpr qint64 PeopleBytes = sizeof(TPeopleRecord);
    static constexpr qint64 SlotBytes = 8;
    static constexpr qint64 TableBytes = SlotBytes * SlotsPerTime;

    // The sizes for the current map, bound to the stores: cells to
    // 0..MapBufferSize, counts to 0..MaxEventCount.
    static MapFileLayout of(const MapRecord& map, const EventState& events);

    qint64 totalBytes() const
    {
        return cells + WarpBytes * warps + SingpostBytes * singposts + PeopleBytes * people
            + TimesOfDay * TableBytes;
    }
};

// The file's content for the current working copies.
QByteArray buildMapFile(const MapRecord& map, const MapState& blocks, const EventState& events,
                        const EncounterTables& encounters);

// Reads `content` into the working copies, section by section with the
// current map's sizes and counts. Each section takes what the content still
// holds, at most its size; where the content ends, the rest of that working
// copy and every later one keep what they held. Bytes past the last section
// are ignored. Counts, offsets and everything outside the sections are left alone.
void readMapFile(const QByteArray& content, const MapRecord& map, MapState& blocks,
                 EventState& events, EncounterTables& encounters);
