// Editing the map by regions: stamps, cuts, fills.
#include "session/editor_session.h"

#include "model/map/map_cells_command.h"

namespace {
// Past this many cells a change redraws the whole map rather than cell by cell.
constexpr size_t CellByCellLimit = 256;
}

MapGrid EditorSession::mapGrid() const
{
    const MapRecord& map = m_state.core.map;
    if (!map.isMap())
        return MapGrid(m_state.map, 0, 0);
    return MapGrid(m_state.map, map.MapWidth, map.MapHeight);
}

BlockRegion EditorSession::copyCells(const QRect& rect) const
{
    return mapGrid().copy(rect, m_state.core.map.TilesetNumber);
}

void EditorSession::placeStamp(QPoint at)
{
    pushCells(QStringLiteral("Stamp"), mapGrid().paste(m_stamp.stamp(m_state.core.map.TilesetNumber), at), m_stroke);
}

bool EditorSession::clearCells(const QRect& rect)
{
    const BlockRegion block = BlockRegion::single(quint8(m_stamp.selectedBlock() & 0xFF));
    return pushCells(QStringLiteral("Clear"), mapGrid().fillRect(rect, block), MapCellsCommand::NoStroke);
}

bool EditorSession::bucketFill(QPoint at, const QRect& limit)
{
    return pushCells(QStringLiteral("Bucket Fill"), mapGrid().floodFill(at, m_stamp.stamp(m_state.core.map.TilesetNumber), limit),
                     MapCellsCommand::NoStroke);
}

bool EditorSession::fillRect(const QRect& rect)
{
    return pushCells(QStringLiteral("Rectangle Fill"), mapGrid().fillRect(rect, m_stamp.stamp(m_state.core.map.TilesetNumber)), MapCellsCommand::NoStroke);
}

BlockRegion EditorSession::copyCells(const CellMask& cells) const
{
    return copyMasked(mapGrid(), cells, m_state.core.map.TilesetNumber);
}

void EditorSession::placeStamp(QPoint at, const CellMask& clip)
{
    pushCells(QStringLiteral("Stamp"), pasteClipped(mapGrid(), m_stamp.stamp(m_state.core.map.TilesetNumber), at, clip), m_stroke);
}

bool EditorSession::clearCells(const CellMask& cells)
{
    const BlockRegion block = BlockRegion::single(quint8(m_stamp.selectedBlock() & 0xFF));
    return pushCells(QStringLiteral("Clear"), fillMasked(mapGrid(), cells, block, cells.bounds().topLeft()),
                     MapCellsCommand::NoStroke);
}

bool EditorSession::bucketFill(QPoint at, const CellMask& limit)
{
    return pushCells(QStringLiteral("Bucket Fill"),
                     floodFillMasked(mapGrid(), at, m_stamp.stamp(m_state.core.map.TilesetNumber), limit),
                     MapCellsCommand::NoStroke);
}

bool EditorSession::fillRect(const QRect& rect, const CellMask& clip)
{
    const MapGrid grid = mapGrid();
    CellMask cells = CellMask::fromRect(grid.width(), grid.height(), rect);
    if (!clip.isEmpty())
        cells.combine(clip, CellMask::Combine::Intersect);
    // The pattern repeats from the rectangle's corner, as without a selection.
    return pushCells(QStringLiteral("Rectangle Fill"),
                     fillMasked(grid, cells, m_stamp.stamp(m_state.core.map.TilesetNumber), rect.normalized().topLeft()),
                     MapCellsCommand::NoStroke);
}

bool EditorSession::pushCells(const QString& text, CellEdits cells, int stroke)
{
    if (cells.empty())
        return false;
    push(new MapCellsCommand(m_state.map, text, std::move(cells), [this](const CellEdits& c) { cellsWritten(c); },
                             stroke));
    return true;
}

void EditorSession::cellsWritten(const CellEdits& cells)
{
    if (cells.size() > CellByCellLimit) {
        emit mapPictureChanged();
        return;
    }
    for (const CellEdit& edit : cells)
        emit cellChanged(edit.cell);
}
