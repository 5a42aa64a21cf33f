#pragma once

#include "model/map/map_region.h"

#include "model/rom/command_ids.h"

#include <QUndoCommand>
#include <functional>
#include <unordered_map>

struct MapState;

// Every change of map cells: a paint stroke, a fill, a paste, a cut, stamps
// placed in one drag, keeping each cell's byte before and after. Commands given
// the same stroke number merge into one entry; a cell changed twice in a
// stroke keeps its byte from before the stroke.
class MapCellsCommand : public QUndoCommand {
public:
    // Told the cells just written, after each redo and undo.
    using Changed = std::function<void(const CellEdits& cells)>;

    static constexpr int NoStroke = -1;

    MapCellsCommand(MapState& map, const QString& text, CellEdits cells, Changed changed, int stroke = NoStroke);

    static constexpr int Id = MapCellsCommandId;
    int id() const override { return Id; }
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

    const CellEdits& cells() const { return m_cells; }

private:
    void apply(bool after);

    MapState& m_map;
    CellEdits m_cells;
    Changed m_changed;
    int m_stroke;
    std::unordered_map<int, size_t> m_index;   // cell -> its edit, once merged
};
