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
//
// The history holds many of these, so the cells are kept compact: the changed
// cells in ascending order as runs of consecutive cells (4 bytes a run) and
// one byte before and one after per cell. A whole-map fill costs about 2 bytes
// a cell. Cells merged in from a stroke gather in a small loose list first and
// are folded in once that list grows past a share of the runs, so a stroke
// step costs what its own cells cost.
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

    // The edits in ascending cell order.
    CellEdits cells() const;
    // The bytes the edits take in memory, beside the command itself.
    size_t heldBytes() const;

private:
    struct Run {
        quint16 first;   // the run's first cell
        quint16 at;      // where its bytes start in m_before / m_after
    };

    void apply(bool after);
    void fold();
    void store(CellEdits sorted);
    // Where `cell` lies in m_before / m_after, or -1.
    qsizetype find(int cell) const;

    MapState& m_map;
    std::vector<Run> m_runs;
    std::vector<quint8> m_before;
    std::vector<quint8> m_after;
    CellEdits m_loose;                             // merged in, not yet folded
    std::unordered_map<int, size_t> m_looseIndex;  // cell -> its loose edit
    Changed m_changed;
    int m_stroke;
};
