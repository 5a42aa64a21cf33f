#pragma once

#include "catalogue/map_record.h"

#include <QtGlobal>
#include <array>

// The current map's block bytes and the painting state of the map view.
struct MapState {
    // Byte i is cell (i mod MapWidth, i div MapWidth) and belongs to ROM
    // offset MapStart + i.
    std::array<quint8, MapBufferSize> MapBytes{};
    qint32 SelectedBlock = 0;  // the block number painting puts on the map
    qint32 CursorCell = 0;     // index of the cell under the pointer
    bool Painting = false;     // from a left press on the map view until a release

    void clearMap() { MapBytes.fill(0); CursorCell = 0; Painting = false; }
};
