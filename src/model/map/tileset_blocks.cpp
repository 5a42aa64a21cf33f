#include "model/map/tileset_blocks.h"

#include "model/rom/rom_image.h"

qint64 tilesetBlockOffset(qint64 tilesetStart, qint64 index)
{
    // Both come from the catalogue or a mouse position: keep them far from overflow.
    if (tilesetStart < 0 || index < 0 || tilesetStart > RomImage::MaxSize || index > RomImage::MaxSize)
        return -1;
    return tilesetStart + BlockSize * index;
}

bool readBlockTiles(const RomImage& rom, qint64 offset, BlockTileNumbers& tiles)
{
    std::array<quint8, BlockSize> bytes{};
    if (!rom.readAt(offset, bytes.data(), BlockSize))
        return false;
    for (int i = 0; i < BlockSize; ++i)
        tiles[size_t(i)] = bytes[size_t(i)];
    return true;
}

bool writeBlockTiles(RomImage& rom, qint64 offset, const BlockTileNumbers& tiles)
{
    std::array<quint8, BlockSize> bytes{};
    for (int i = 0; i < BlockSize; ++i)
        bytes[size_t(i)] = quint8(tiles[size_t(i)] & 0xFF);
    return rom.writeAt(offset, bytes.data(), BlockSize);
}
