#pragma once

#include "model/catalogue/map_record.h"

#include <array>

class RomImage;

// The blocks of a tileset as the image holds them: BlockSize tile numbers a
// block, block 0 at the tileset's start offset.
using BlockTileNumbers = std::array<qint32, BlockSize>;

// The image offset of block `index` of a tileset starting at `tilesetStart`,
// in 64-bit arithmetic; -1 for a negative start or index.
qint64 tilesetBlockOffset(qint64 tilesetStart, qint64 index);
// The tile numbers of the block at `offset`; false, `tiles` untouched, when
// the block does not lie wholly inside the image.
bool readBlockTiles(const RomImage& rom, qint64 offset, BlockTileNumbers& tiles);
// Writes the low byte of each tile number at `offset`; false, the image
// untouched, when the block does not lie wholly inside it.
bool writeBlockTiles(RomImage& rom, qint64 offset, const BlockTileNumbers& tiles);
