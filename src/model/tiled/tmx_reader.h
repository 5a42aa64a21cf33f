#pragma once

#include "model/tiled/tmx_document.h"

#include <QByteArray>

// Reads a TMX map as Kartola and Tiled write it: the map's size and
// properties, its tilesets, the tile layer named "Blocks" (or the only tile
// layer) in any layer format decodeLayerData reads, and the objects of the
// object layer "Events". False, with one sentence in `error`, for what is no
// such map: broken XML, an infinite map, no tile layer to take, a layer of
// another size than the map, data that cannot be read.
bool readTmx(const QByteArray& bytes, TmxMap* map, QString* error);
