#pragma once

#include <QByteArray>
#include <QImage>

class BlockPictures;
struct MapRecord;

inline constexpr int TiledTilePixels = 64;    // a tile is one block
inline constexpr int TiledTilesetColumns = 16;
inline constexpr int TiledFirstGid = 1;       // the first id of the map's one tileset

// The tiles of a map's tileset: tile n is block number n, so tile 0 is the
// black of a cell with no block and tiles 1 to TilesetBlocks + 1 are the
// block pictures in palette order.
int tiledTileCount(const MapRecord& record);
// Those tiles in rows of 16, drawn as the map view draws their blocks (a
// place without a picture is black).
QImage tiledTilesetImage(const BlockPictures& pictures, int tileset, int tileCount);
// The .tsx of tileset number `tileset` over the picture `<name>.png` beside it.
QByteArray writeTsx(int tileset, int tileCount);
