#pragma once

#include "model/catalogue/map_record.h"

#include <QtGlobal>
#include <array>

class RomImage;

// The current map's block bytes. MapBytes is replaced whole by readMap (a
// map pick), clearMap and a loaded map file (LoadMapCommand and its undo), and
// changes cell by cell through paintCell (the cell edits). The editor writes
// it to the ROM image through writeMap (Save Rom); a script's map writes each
// byte it sets at once (ScriptMap::setBlock).
struct MapState {
    // Byte i is cell (i mod MapWidth, i div MapWidth) and belongs to ROM
    // offset MapStart + i.
    std::array<quint8, MapBufferSize> MapBytes{};

    // Where MapBytes came from, so that a save writes exactly the bytes read
    // back to the place they were read from.
    bool hasMap = false;
    qint32 loadedStart = 0;    // MapStart of the map read
    qint32 loadedBytes = 0;    // MapEnd - MapStart + 1 (0 when MapEnd < MapStart)
    qint32 loadedCells = 0;    // MapWidth x MapHeight

    void clearMap();

    // Replaces MapBytes with the bytes MapStart..MapEnd of `map`; the rest of
    // the buffer is zeroed. Refused (false, nothing changed) when the bytes or
    // the cells do not fit the buffer or the bytes lie outside the image.
    bool readMap(const RomImage& rom, const MapRecord& map);
    // One cell's edit: cell := the low 8 bits of `block`. Only a cell of
    // the map whose byte was read can change. True when the cell was written.
    bool paintCell(qint32 cell, qint32 block);
    // Writes the bytes read back at the offset they came from. Nothing is
    // written before the first map or when the range no longer fits the image.
    bool writeMap(RomImage& rom) const;

    // True when the cell lies on the map and its byte was read from the ROM;
    // other cells show nothing and are never written.
    bool cellHasByte(qint32 cell) const
    {
        return hasMap && cell >= 0 && cell < loadedBytes && cell < loadedCells;
    }
};
