#include "model/map/tileset_build.h"

#include "model/catalogue/map_record.h"
#include "model/rom/rom_edit_command.h"
#include "model/rom/rom_image.h"
#include "model/map/block_composer.h"
#include "model/map/block_pictures.h"

#include <array>

namespace {

bool tilesetHeld(const RomImage& rom, const MapRecord& map)
{
    const int t = map.TilesetNumber, blocks = map.TilesetBlocks;
    return t >= 1 && t <= TilesetCount && blocks >= 0 && blocks < BlockPlaces
        && rom.contains(map.TilesetStart, qint64(BlockSize) * (blocks + 1));
}

} // namespace

bool buildTileset(const RomImage& rom, const MapRecord& map, const TilePicture& pics, BlockPictures& pictures,
                  const std::function<void(int, int)>& progress)
{
    if (!tilesetHeld(rom, map))
        return false;
    const int blocks = map.TilesetBlocks;
    QImage scratch = BlockComposer::emptyBlock();
    std::array<quint8, BlockSize> tiles{};
    for (int r = 0; r <= blocks; ++r) {
        rom.readAt(qint64(map.TilesetStart) + qint64(BlockSize) * r, tiles.data(), BlockSize);
        BlockComposer::compose(scratch, pics, tiles);
        pictures.setPicture(map.TilesetNumber, r, scratch.copy());
        if (progress)
            progress(r, blocks);
    }
    return true;
}

bool rebuildBlock(const RomImage& rom, const MapRecord& map, const TilePicture& pics, BlockPictures& pictures,
                  int row)
{
    if (!tilesetHeld(rom, map) || row < 0 || row > map.TilesetBlocks)
        return false;
    std::array<quint8, BlockSize> tiles{};
    if (!rom.readAt(qint64(map.TilesetStart) + qint64(BlockSize) * row, tiles.data(), BlockSize))
        return false;
    QImage picture = BlockComposer::emptyBlock();
    BlockComposer::compose(picture, pics, tiles);
    pictures.setPicture(map.TilesetNumber, row, picture);
    return true;
}

bool rebuildChangedBlocks(const RomImage& rom, const MapRecord& map, const TilePicture& pics, BlockPictures& pictures,
                          const QList<RomChange>& changes)
{
    bool rebuilt = false;
    const qint64 start = map.TilesetStart;
    for (const RomChange& change : changes) {
        if (change.offset + change.after.size() <= start)
            continue;
        const qint64 first = (change.offset - start) / BlockSize;
        const qint64 last = (change.offset + change.after.size() - 1 - start) / BlockSize;
        for (qint64 row = qMax<qint64>(0, first); row <= qMin<qint64>(last, map.TilesetBlocks); ++row)
            rebuilt |= rebuildBlock(rom, map, pics, pictures, int(row));
    }
    return rebuilt;
}
