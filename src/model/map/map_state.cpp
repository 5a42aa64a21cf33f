#include "model/map/map_state.h"

#include "model/rom/rom_image.h"

void MapState::clearMap()
{
    MapBytes.fill(0);
    hasMap = false;
    loadedStart = 0;
    loadedBytes = 0;
    loadedCells = 0;
}

bool MapState::readMap(const RomImage& rom, const MapRecord& map)
{
    const qint64 bytes = map.byteCount();
    const qint64 cells = map.cellCount();
    if (bytes > MapBufferSize || cells > MapBufferSize || cells < 0 || map.MapWidth < 0 || map.MapHeight < 0)
        return false;
    std::array<quint8, MapBufferSize> fresh{};
    if (bytes > 0 && !rom.readAt(map.MapStart, fresh.data(), bytes))
        return false;
    MapBytes = fresh;
    hasMap = true;
    loadedStart = map.MapStart;
    loadedBytes = qint32(bytes);
    loadedCells = qint32(cells);
    return true;
}

bool MapState::paintCell(qint32 cell, qint32 block)
{
    if (!cellHasByte(cell))
        return false;
    MapBytes[size_t(cell)] = quint8(block & 0xFF);
    return true;
}

bool MapState::writeMap(RomImage& rom) const
{
    if (!hasMap || loadedBytes <= 0)
        return false;
    return rom.writeAt(loadedStart, MapBytes.data(), loadedBytes);
}
