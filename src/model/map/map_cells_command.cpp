#include "model/map/map_cells_command.h"

#include "model/map/map_state.h"

#include <algorithm>

static_assert(MapBufferSize <= 0x10000, "cells and byte offsets are kept in 16 bits");

namespace {

// Sorts by cell; a cell listed twice keeps its first byte before and its last
// byte after, as if its edits had been applied in order.
CellEdits sortedUnique(CellEdits edits)
{
    std::stable_sort(edits.begin(), edits.end(), [](const CellEdit& a, const CellEdit& b) { return a.cell < b.cell; });
    CellEdits out;
    out.reserve(edits.size());
    for (const CellEdit& edit : edits) {
        if (!out.empty() && out.back().cell == edit.cell)
            out.back().after = edit.after;
        else
            out.push_back(edit);
    }
    return out;
}

}

MapCellsCommand::MapCellsCommand(MapState& map, const QString& text, CellEdits cells, Changed changed, int stroke)
    : QUndoCommand(text), m_map(map), m_changed(std::move(changed)), m_stroke(stroke)
{
    // Cells no map can hold are never written; they are not kept either.
    std::erase_if(cells, [](const CellEdit& e) { return e.cell < 0 || e.cell >= MapBufferSize; });
    store(sortedUnique(std::move(cells)));
}

void MapCellsCommand::store(CellEdits sorted)
{
    m_runs.clear();
    m_before.clear();
    m_after.clear();
    m_before.reserve(sorted.size());
    m_after.reserve(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (i == 0 || sorted[i].cell != sorted[i - 1].cell + 1)
            m_runs.push_back(Run{quint16(sorted[i].cell), quint16(i)});
        m_before.push_back(sorted[i].before);
        m_after.push_back(sorted[i].after);
    }
    m_runs.shrink_to_fit();
    m_before.shrink_to_fit();
    m_after.shrink_to_fit();
}

CellEdits MapCellsCommand::cells() const
{
    CellEdits out;
    out.reserve(m_before.size() + m_loose.size());
    for (size_t r = 0; r < m_runs.size(); ++r) {
        const size_t end = r + 1 < m_runs.size() ? m_runs[r + 1].at : m_before.size();
        for (size_t i = m_runs[r].at; i < end; ++i)
            out.push_back(CellEdit{int(m_runs[r].first + (i - m_runs[r].at)), m_before[i], m_after[i]});
    }
    if (m_loose.empty())
        return out;
    // Loose cells never lie in the runs: a plain merge of two sorted lists.
    CellEdits loose = m_loose;
    std::sort(loose.begin(), loose.end(), [](const CellEdit& a, const CellEdit& b) { return a.cell < b.cell; });
    CellEdits merged;
    merged.reserve(out.size() + loose.size());
    std::merge(out.begin(), out.end(), loose.begin(), loose.end(), std::back_inserter(merged),
               [](const CellEdit& a, const CellEdit& b) { return a.cell < b.cell; });
    return merged;
}

size_t MapCellsCommand::heldBytes() const
{
    return m_runs.capacity() * sizeof(Run) + m_before.capacity() + m_after.capacity()
           + m_loose.capacity() * sizeof(CellEdit) + m_looseIndex.size() * (sizeof(int) + sizeof(size_t) + 2 * sizeof(void*))
           + m_looseIndex.bucket_count() * sizeof(void*);
}

qsizetype MapCellsCommand::find(int cell) const
{
    const auto next = std::upper_bound(m_runs.begin(), m_runs.end(), cell,
                                       [](int c, const Run& run) { return c < int(run.first); });
    if (next == m_runs.begin())
        return -1;
    const Run& run = *(next - 1);
    const qsizetype end = next == m_runs.end() ? qsizetype(m_before.size()) : qsizetype(next->at);
    const qsizetype at = qsizetype(run.at) + (cell - int(run.first));
    return at < end ? at : -1;
}

void MapCellsCommand::fold()
{
    if (m_loose.empty())
        return;
    store(cells());
    m_loose = CellEdits();
    m_looseIndex = std::unordered_map<int, size_t>();
}

bool MapCellsCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const MapCellsCommand*>(other);
    if (m_stroke == NoStroke || next->m_stroke != m_stroke)
        return false;
    for (const CellEdit& edit : next->cells()) {
        if (const qsizetype at = find(edit.cell); at >= 0) {
            m_after[size_t(at)] = edit.after;
        } else if (const auto loose = m_looseIndex.find(edit.cell); loose != m_looseIndex.end()) {
            m_loose[loose->second].after = edit.after;
        } else {
            m_looseIndex.emplace(edit.cell, m_loose.size());
            m_loose.push_back(edit);
        }
    }
    // Folding costs what the whole command holds; doing it once the loose
    // list reaches an eighth of that keeps a stroke step cheap on average.
    if (m_loose.size() >= std::max<size_t>(64, m_before.size() / 8))
        fold();
    return true;
}

void MapCellsCommand::apply(bool after)
{
    fold();
    const std::vector<quint8>& bytes = after ? m_after : m_before;
    CellEdits written;
    written.reserve(m_before.size());
    for (size_t r = 0; r < m_runs.size(); ++r) {
        const size_t end = r + 1 < m_runs.size() ? m_runs[r + 1].at : m_before.size();
        for (size_t i = m_runs[r].at; i < end; ++i) {
            const int cell = int(m_runs[r].first + (i - m_runs[r].at));
            if (m_map.paintCell(cell, bytes[i]))
                written.push_back(CellEdit{cell, m_before[i], m_after[i]});
        }
    }
    if (m_changed && !written.empty())
        m_changed(written);
}

void MapCellsCommand::redo() { apply(true); }

void MapCellsCommand::undo() { apply(false); }
