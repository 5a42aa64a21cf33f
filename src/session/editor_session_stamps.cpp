// Placing the stamp along a line and copied blocks back where they came from.
#include "session/editor_session.h"

#include "model/map/map_cells_command.h"
#include "model/map/stamp_line.h"

void EditorSession::placeStampLine(QPoint from, QPoint to)
{
    const MapGrid grid = mapGrid();
    pushCells(QStringLiteral("Stamp"), stampAlong(grid, m_stamp.stamp(m_state.core.map.TilesetNumber), lineCells(from, to)),
              m_stroke);
}

SessionOutcome EditorSession::pasteInPlace(const BlockRegion& region, QPoint origin)
{
    const MapGrid grid = mapGrid();
    if (region.isEmpty() || !grid.bounds().contains(origin))
        return SessionOutcome::refused(QStringLiteral("This map has no cell %1, %2 to paste the blocks back to.")
                                           .arg(origin.x())
                                           .arg(origin.y()));
    pushCells(QStringLiteral("Paste in Place"), grid.paste(region, origin), MapCellsCommand::NoStroke);
    return SessionOutcome::done();
}
