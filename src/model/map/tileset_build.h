#pragma once

#include <QList>
#include <functional>

class BlockPictures;
struct RomChange;
class RomImage;
class TilePicture;
struct MapRecord;

// Builds the block pictures of the map's tileset, blocks 0 to TilesetBlocks,
// from the block bytes at TilesetStart and the tile picture. `progress` is
// told each block built (value, maximum). A record the stores or the image
// cannot hold builds nothing and returns false.
bool buildTileset(const RomImage& rom, const MapRecord& map, const TilePicture& pics, BlockPictures& pictures,
                  const std::function<void(int value, int maximum)>& progress = {});

// Composes block `row` of the map's tileset again from the image (after its
// bytes changed). False when the block lies outside the tileset or the image.
bool rebuildBlock(const RomImage& rom, const MapRecord& map, const TilePicture& pics, BlockPictures& pictures,
                  int row);

// Composes again the blocks of the map's tileset whose bytes `changes`
// touched. True when any block picture changed.
bool rebuildChangedBlocks(const RomImage& rom, const MapRecord& map, const TilePicture& pics, BlockPictures& pictures,
                          const QList<RomChange>& changes);
