#include "model/map/paint_command.h"

#include "model/map/map_state.h"

PaintCommand::PaintCommand(MapState& map, int stroke, int cell, quint8 block, Changed changed)
    : QUndoCommand(QStringLiteral("Paint")), m_map(map), m_stroke(stroke), m_changed(std::move(changed))
{
    if (m_map.cellHasByte(cell))
        m_cells.insert(cell, {m_map.MapBytes[size_t(cell)], block});
}

bool PaintCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const PaintCommand*>(other);
    if (next->m_stroke != m_stroke)
        return false;
    for (auto it = next->m_cells.cbegin(); it != next->m_cells.cend(); ++it) {
        // A cell painted twice in one stroke keeps the byte from before the stroke.
        auto mine = m_cells.find(it.key());
        if (mine == m_cells.end())
            m_cells.insert(it.key(), it.value());
        else
            mine->after = it->after;
    }
    return true;
}

void PaintCommand::redo()
{
    for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it)
        if (m_map.paintCell(it.key(), it->after) && m_changed)
            m_changed(it.key());
}

void PaintCommand::undo()
{
    for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it)
        if (m_map.paintCell(it.key(), it->before) && m_changed)
            m_changed(it.key());
}
