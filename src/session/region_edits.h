#pragma once

#include "session/session_outcome.h"
#include "model/map/cell_mask.h"
#include "model/map/map_region.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>

class BlockStamp;
struct EditorState;

// Editing the current map by regions: the stamp placed, cells copied, the
// fills, Cut and Delete, Paste in Place. A selection (an empty mask is none)
// limits where they land. Each change goes to the session as one cells
// command; a change of no cell is declined, with nothing pushed.
class RegionEdits {
public:
    // The session's one way of pushing map cells: one undo entry named
    // `text`, or a step of the paint stroke begun when `inStroke`.
    using PushCells = std::function<SessionOutcome(const QString& text, CellEdits cells, bool inStroke)>;

    RegionEdits(const EditorState& state, const BlockStamp& stamp, PushCells push);

    // The current map's cells (none while no map is picked).
    MapGrid mapGrid() const;
    // The blocks of `cells`, marked as blocks of the map's tileset.
    BlockRegion copyCells(const CellMask& cells) const;

    // The stamp with its top-left cell at `at`, only on the cells of `clip`,
    // within the stroke begun.
    SessionOutcome placeStamp(QPoint at, const CellMask& clip);
    // Shift+click: the stamp at every cell of the straight line from `from`
    // to `to`, within the stroke begun.
    SessionOutcome placeStampLine(QPoint from, QPoint to);
    // Cut and Delete: the cells take the selected block.
    SessionOutcome clearCells(const CellMask& cells);
    // Bucket Fill: the cells Magic Wand would select from `at`, inside
    // `limit`, take the stamp repeated from `at`.
    SessionOutcome bucketFill(QPoint at, const CellMask& limit);
    // Rectangle Fill: the cells of `rect` (of `clip` too, when it is not
    // empty) take the stamp repeated from the rectangle's corner.
    SessionOutcome fillRect(const QRect& rect, const CellMask& clip);
    // Paste in Place: `region` back at cell `origin`, what falls outside the
    // map left out. Refused when the map does not reach `origin`.
    SessionOutcome pasteInPlace(const BlockRegion& region, QPoint origin);

private:
    BlockRegion stamp() const;

    const EditorState& m_state;
    const BlockStamp& m_stamp;
    PushCells m_push;
};
