#include "model/map/map_cells_command.h"

#include "model/map/map_state.h"

#include <unordered_map>

MapCellsCommand::MapCellsCommand(MapState& map, const QString& text, CellEdits cells, Changed changed, int stroke)
    : QUndoCommand(text), m_map(map), m_cells(std::move(cells)), m_changed(std::move(changed)), m_stroke(stroke)
{
}

bool MapCellsCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const MapCellsCommand*>(other);
    if (m_stroke == NoStroke || next->m_stroke != m_stroke)
        return false;
    // Where each cell's edit lies, kept across the merges of one stroke so
    // that a step of a long stroke costs what its own cells cost.
    std::unordered_map<int, size_t>& known = m_index;
    if (known.empty())
        for (size_t i = 0; i < m_cells.size(); ++i)
            known.emplace(m_cells[i].cell, i);
    for (const CellEdit& edit : next->m_cells) {
        const auto mine = known.find(edit.cell);
        if (mine == known.end()) {
            known.emplace(edit.cell, m_cells.size());
            m_cells.push_back(edit);
        } else {
            m_cells[mine->second].after = edit.after;
        }
    }
    return true;
}

void MapCellsCommand::apply(bool after)
{
    CellEdits written;
    written.reserve(m_cells.size());
    for (const CellEdit& edit : m_cells)
        if (m_map.paintCell(edit.cell, after ? edit.after : edit.before))
            written.push_back(edit);
    if (m_changed && !written.empty())
        m_changed(written);
}

void MapCellsCommand::redo() { apply(true); }

void MapCellsCommand::undo() { apply(false); }
