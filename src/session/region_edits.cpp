#include "session/region_edits.h"

#include "session/block_stamp.h"
#include "session/editor_state.h"
#include "model/map/stamp_line.h"

RegionEdits::RegionEdits(const EditorState& state, const BlockStamp& stamp, PushCells push)
    : m_state(state), m_stamp(stamp), m_push(std::move(push))
{
}

MapGrid RegionEdits::mapGrid() const
{
    const MapRecord& map = m_state.core.map;
    if (!map.isMap())
        return MapGrid(m_state.map, 0, 0);
    return MapGrid(m_state.map, map.MapWidth, map.MapHeight);
}

BlockRegion RegionEdits::stamp() const
{
    return m_stamp.stamp(m_state.core.map.TilesetNumber);
}

BlockRegion RegionEdits::copyCells(const CellMask& cells) const
{
    return copyMasked(mapGrid(), cells, m_state.core.map.TilesetNumber);
}

SessionOutcome RegionEdits::placeStamp(QPoint at, const CellMask& clip)
{
    return m_push(QStringLiteral("Stamp"), pasteClipped(mapGrid(), stamp(), at, clip), true);
}

SessionOutcome RegionEdits::placeStampLine(QPoint from, QPoint to)
{
    return m_push(QStringLiteral("Stamp"), stampAlong(mapGrid(), stamp(), lineCells(from, to)), true);
}

SessionOutcome RegionEdits::clearCells(const CellMask& cells)
{
    const BlockRegion block = BlockRegion::single(quint8(m_stamp.selectedBlock() & 0xFF));
    return m_push(QStringLiteral("Clear"), fillMasked(mapGrid(), cells, block, cells.bounds().topLeft()), false);
}

SessionOutcome RegionEdits::bucketFill(QPoint at, const CellMask& limit)
{
    return m_push(QStringLiteral("Bucket Fill"), floodFillMasked(mapGrid(), at, stamp(), limit), false);
}

SessionOutcome RegionEdits::fillRect(const QRect& rect, const CellMask& clip)
{
    const MapGrid grid = mapGrid();
    CellMask cells = CellMask::fromRect(grid.width(), grid.height(), rect);
    if (!clip.isEmpty())
        cells.combine(clip, CellMask::Combine::Intersect);
    // The pattern repeats from the rectangle's corner, also where the
    // selection or the map's edge cuts that corner off.
    return m_push(QStringLiteral("Rectangle Fill"), fillMasked(grid, cells, stamp(), rect.normalized().topLeft()), false);
}

SessionOutcome RegionEdits::pasteInPlace(const BlockRegion& region, QPoint origin)
{
    const MapGrid grid = mapGrid();
    if (region.isEmpty() || !grid.bounds().contains(origin))
        return SessionOutcome::refused(QStringLiteral("This map has no cell %1, %2 to paste the blocks back to.")
                                           .arg(origin.x())
                                           .arg(origin.y()));
    return m_push(QStringLiteral("Paste in Place"), pasteClipped(grid, region, origin, CellMask()), false);
}
