#include "model/map/stamp_line.h"

#include <cstdlib>
#include <unordered_map>

std::vector<QPoint> lineCells(QPoint from, QPoint to)
{
    // Bresenham's walk, in 64 bits: the ends may lie far off the map.
    const qint64 dx = std::llabs(qint64(to.x()) - from.x()), dy = -std::llabs(qint64(to.y()) - from.y());
    const int sx = from.x() < to.x() ? 1 : -1, sy = from.y() < to.y() ? 1 : -1;
    std::vector<QPoint> cells;
    cells.reserve(size_t(qMax(dx, -dy)) + 1);
    qint64 error = dx + dy;
    QPoint at = from;
    for (;;) {
        cells.push_back(at);
        if (at == to)
            break;
        const qint64 twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += sx;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += sy;
        }
    }
    return cells;
}

CellEdits stampAlong(const MapGrid& grid, const BlockRegion& region, const std::vector<QPoint>& at)
{
    CellEdits merged;
    std::unordered_map<int, size_t> place;   // cell -> its entry in `merged`
    const size_t cells = size_t(region.width) * size_t(region.height);
    if (region.isEmpty() || region.blocks.size() != cells || (!region.mask.empty() && region.mask.size() != cells))
        return merged;
    for (const QPoint& corner : at) {
        for (int y = 0; y < region.height; ++y) {
            for (int x = 0; x < region.width; ++x) {
                const QPoint cell(int(qint64(corner.x()) + x), int(qint64(corner.y()) + y));
                // A cell outside the stamp's shape keeps its byte.
                if (!region.has(x, y) || !grid.holds(cell))
                    continue;
                const int index = cell.y() * grid.width() + cell.x();
                const auto found = place.find(index);
                if (found != place.end()) {
                    merged[found->second].after = region.at(x, y);
                } else {
                    place.emplace(index, merged.size());
                    merged.push_back({index, grid.at(cell), region.at(x, y)});
                }
            }
        }
    }
    // Cells that end as they began are no change.
    CellEdits changed;
    for (const CellEdit& edit : merged)
        if (edit.after != edit.before)
            changed.push_back(edit);
    return changed;
}
