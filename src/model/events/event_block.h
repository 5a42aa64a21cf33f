#pragma once

#include "model/events/event_records.h"

#include <QByteArray>
#include <QString>

class IniFile;
class RomImage;

// The packed event block written by the event builder. It starts one byte
// before the map's warp table:
//   W, W warps, 0, S, S signposts, P, P people
// and every record holds its kind's new-event pattern (record i from 0 stands
// in row i: warps in column 0, signposts in column 1, people in column 2).

// Record bytes of the present tables (counts of the working copy).
qint64 eventBytesAvailable(const EventState& state);
// Record bytes of tables with the given counts.
qint64 eventBytesNeeded(int warps, int singposts, int people);

// The whole block, count bytes included (Bytes Needed + 4 bytes long).
QByteArray eventBlock(int warps, int singposts, int people);

struct EventBlockOffsets {
    qint32 warp = 0, singpost = 0, people = 0;
};
// Where the three tables of a block starting before `warpOffset` lie.
EventBlockOffsets eventBlockOffsets(qint32 warpOffset, int warps, int singposts);

// Why a rebuild with these counts is refused (see rebuildEventTables), or empty.
QString eventBlockProblem(const RomImage& rom, const QString& section, const EventState& state,
                          int warps, int singposts, int people);

// Rewrites the map's six keys in `eventsIni` (one file replacement: all six
// or none) and then writes the block into the ROM image. Refused, with nothing written, unless the map's three offsets are
// above 0, the counts are 0 to MaxEventCount and the block lies wholly inside
// the image. When an Events.ini write fails its message is returned and the
// ROM image stays unchanged. Empty result: rebuilt.
QString rebuildEventTables(IniFile& eventsIni, const QString& section, RomImage& rom,
                           const EventState& state, int warps, int singposts, int people);
