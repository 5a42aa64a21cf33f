#pragma once

#include <QByteArray>
#include <QString>

struct EventState;
struct MapRecord;
struct MapState;

// What one map's TMX file is made of: the record, its block bytes and its
// events as the editor holds them (working copies with unsaved edits, or as
// read from the image), and the category it is listed in.
struct TmxSource {
    const MapRecord& record;
    const MapState& map;
    const EventState& events;
    QString category;
};

// The map as a Tiled map: orthogonal, one 64 x 64 tile per block, the tileset
// of its tileset number beside it, a CSV tile layer "Blocks" whose tile ids
// are the block numbers after the tileset's first id (a cell without a byte
// is block 0), an object layer "Events" of one 64 x 64 rectangle per event at
// its square, and the map's catalogue name, category and start offset as map
// properties.
QByteArray writeTmx(const TmxSource& source);
