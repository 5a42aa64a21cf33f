// Editing the map by regions: stamps, the clipboard, fills.
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

BlockRegion EditorSession::stamp() const
{
    if (!m_stamp.isEmpty())
        return m_stamp;
    return BlockRegion::single(quint8(m_state.map.SelectedBlock & 0xFF), m_state.core.map.TilesetNumber);
}

void EditorSession::setStamp(const BlockRegion& region)
{
    m_stamp = region;
    emit stampChanged();
}

void EditorSession::dropStamp()
{
    if (m_stamp.isEmpty())
        return;
    m_stamp = BlockRegion{};
    emit stampChanged();
}

QString EditorSession::pasteStamp(const QMimeData& data)
{
    QString error;
    const std::optional<BlockRegion> region = regionFromMimeData(data, &error);
    if (!region)
        return error;
    setStamp(*region);
    const qint32 here = m_state.core.map.TilesetNumber;
    if (region->tileset != 0 && here != 0 && region->tileset != here)
        emit statusText(QStringLiteral("The blocks pasted come from tileset %1; this map uses tileset %2.")
                            .arg(region->tileset)
                            .arg(here));
    return {};
}

void EditorSession::placeStamp(QPoint at)
{
    pushCells(QStringLiteral("Stamp"), mapGrid().paste(stamp(), at), m_stroke);
}

bool EditorSession::clearCells(const QRect& rect)
{
    const BlockRegion block = BlockRegion::single(quint8(m_state.map.SelectedBlock & 0xFF));
    return pushCells(QStringLiteral("Clear"), mapGrid().fillRect(rect, block), MapCellsCommand::NoStroke);
}

bool EditorSession::bucketFill(QPoint at, const QRect& limit)
{
    return pushCells(QStringLiteral("Bucket Fill"), mapGrid().floodFill(at, stamp(), limit),
                     MapCellsCommand::NoStroke);
}

bool EditorSession::fillRect(const QRect& rect)
{
    return pushCells(QStringLiteral("Rectangle Fill"), mapGrid().fillRect(rect, stamp()), MapCellsCommand::NoStroke);
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
