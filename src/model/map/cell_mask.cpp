#include "model/map/cell_mask.h"

CellMask::CellMask(int width, int height)
    : m_width(qMax(0, width)), m_height(qMax(0, height)), m_cells(size_t(m_width) * size_t(m_height), 0)
{
}

CellMask CellMask::fromRect(int width, int height, const QRect& rect)
{
    CellMask mask(width, height);
    const QRect on = rect.normalized() & QRect(0, 0, mask.m_width, mask.m_height);
    for (int y = on.top(); y <= on.bottom(); ++y)
        for (int x = on.left(); x <= on.right(); ++x)
            mask.m_cells[mask.index(QPoint(x, y))] = 1;
    mask.m_count = on.isEmpty() ? 0 : on.width() * on.height();
    mask.m_bounds = on.isEmpty() ? QRect() : on;
    return mask;
}

bool CellMask::contains(QPoint cell) const
{
    return onMap(cell) && m_cells[index(cell)] != 0;
}

void CellMask::insert(QPoint cell)
{
    if (!onMap(cell) || m_cells[index(cell)])
        return;
    m_cells[index(cell)] = 1;
    ++m_count;
    m_bounds = m_bounds.isEmpty() ? QRect(cell, QSize(1, 1)) : (m_bounds | QRect(cell, QSize(1, 1)));
}

void CellMask::combine(const CellMask& other, Combine how)
{
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const bool theirs = other.contains(QPoint(x, y));
            quint8& mine = m_cells[index(QPoint(x, y))];
            switch (how) {
            case Combine::Replace: mine = theirs; break;
            case Combine::Add: mine = mine || theirs; break;
            case Combine::Subtract: mine = mine && !theirs; break;
            case Combine::Intersect: mine = mine && theirs; break;
            }
        }
    }
    recount();
}

void CellMask::recount()
{
    m_count = 0;
    int left = m_width, top = m_height, right = -1, bottom = -1;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (!m_cells[index(QPoint(x, y))])
                continue;
            ++m_count;
            left = qMin(left, x);
            right = qMax(right, x);
            top = qMin(top, y);
            bottom = qMax(bottom, y);
        }
    }
    m_bounds = m_count ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
}

// --- Selections made from the map's bytes --------------------------------------

CellMask sameBlockCells(const MapGrid& grid, quint8 block)
{
    CellMask cells(grid.width(), grid.height());
    for (int y = 0; y < grid.height(); ++y)
        for (int x = 0; x < grid.width(); ++x)
            if (grid.holds(QPoint(x, y)) && grid.at(QPoint(x, y)) == block)
                cells.insert(QPoint(x, y));
    return cells;
}

CellMask connectedCells(const MapGrid& grid, QPoint start, const CellMask& limit)
{
    CellMask cells(grid.width(), grid.height());
    const auto inside = [&](QPoint cell) { return grid.holds(cell) && (limit.isEmpty() || limit.contains(cell)); };
    if (!inside(start))
        return cells;
    const quint8 target = grid.at(start);
    std::vector<QPoint> todo{start};
    cells.insert(start);
    while (!todo.empty()) {
        const QPoint cell = todo.back();
        todo.pop_back();
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint next = cell + step;
            if (!inside(next) || cells.contains(next) || grid.at(next) != target)
                continue;
            cells.insert(next);
            todo.push_back(next);
        }
    }
    return cells;
}

// --- Region operations on a selection of any shape -----------------------------

namespace {
void change(const MapGrid& grid, CellEdits& edits, QPoint cell, quint8 block)
{
    if (!grid.holds(cell))
        return;
    const quint8 before = grid.at(cell);
    if (before != block)
        edits.push_back({cell.y() * grid.width() + cell.x(), before, block});
}
}

BlockRegion copyMasked(const MapGrid& grid, const CellMask& cells, qint32 tileset)
{
    const QRect on = cells.bounds() & grid.bounds();
    BlockRegion region;
    if (on.isEmpty())
        return region;
    region.width = on.width();
    region.height = on.height();
    region.tileset = tileset;
    const bool shaped = !cells.isRectangle();
    region.blocks.reserve(size_t(on.width()) * size_t(on.height()));
    if (shaped)
        region.mask.reserve(region.blocks.capacity());
    for (int y = on.top(); y <= on.bottom(); ++y) {
        for (int x = on.left(); x <= on.right(); ++x) {
            // A cell outside the shape holds no block, as every clipboard form reads it.
            const bool belongs = cells.contains(QPoint(x, y));
            region.blocks.push_back(belongs ? grid.at(QPoint(x, y)) : 0);
            if (shaped)
                region.mask.push_back(belongs ? 1 : 0);
        }
    }
    return region;
}

CellEdits fillMasked(const MapGrid& grid, const CellMask& cells, const BlockRegion& pattern, QPoint origin)
{
    CellEdits edits;
    if (pattern.isEmpty())
        return edits;
    const QRect on = cells.bounds() & grid.bounds();
    for (int y = on.top(); y <= on.bottom(); ++y)
        for (int x = on.left(); x <= on.right(); ++x)
            if (cells.contains(QPoint(x, y)) && pattern.repeatedHas(origin, QPoint(x, y)))
                change(grid, edits, QPoint(x, y), pattern.repeatedAt(origin, QPoint(x, y)));
    return edits;
}

CellEdits pasteClipped(const MapGrid& grid, const BlockRegion& region, QPoint at, const CellMask& clip)
{
    CellEdits edits;
    if (region.isEmpty())
        return edits;
    // Only the part of the region that lands on the map (and the clip) is walked.
    QRect on = QRect(at, QSize(region.width, region.height)) & grid.bounds();
    if (!clip.isEmpty())
        on &= clip.bounds();
    for (int y = on.top(); y <= on.bottom(); ++y) {
        for (int x = on.left(); x <= on.right(); ++x) {
            const int rx = x - at.x(), ry = y - at.y();
            if ((clip.isEmpty() || clip.contains(QPoint(x, y))) && region.has(rx, ry))
                change(grid, edits, QPoint(x, y), region.at(rx, ry));
        }
    }
    return edits;
}

CellEdits floodFillMasked(const MapGrid& grid, QPoint start, const BlockRegion& pattern, const CellMask& limit)
{
    if (pattern.isEmpty())
        return {};
    // The region is found on the bytes as they are, then filled: a pattern
    // that holds the target byte cannot make the region grow.
    return fillMasked(grid, connectedCells(grid, start, limit), pattern, start);
}
