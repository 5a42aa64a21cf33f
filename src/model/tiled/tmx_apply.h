#pragma once

struct EventState;
struct MapRecord;
struct MapState;
struct TmxMap;
class QString;

// Puts what a TMX map says into the map's block bytes and its events (as
// loaded from the image). Empty: applied. Otherwise one sentence naming the
// first cell or object that cannot be taken, with `map` and `events` as
// they were: a size other than the record's, a start offset other than the
// record's, no tileset of the map's tileset number, a cell empty, flipped or
// rotated, of another tileset or past the tileset's blocks (a cell that holds
// such a block already may keep it), a cell past the map's bytes that is not
// block 0, an event count other than the map's, an object with no type, a
// record number that is not one of the map's or comes twice, a square or a
// property value outside its byte.
QString applyTmx(const TmxMap& tmx, const MapRecord& record, MapState& map, EventState& events);
