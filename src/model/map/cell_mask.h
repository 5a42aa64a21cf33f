#pragma once

#include "model/map/map_region.h"

#include <QPoint>
#include <QRect>
#include <QtGlobal>
#include <vector>

// A set of cells of a map of `width` x `height` cells: a selection of any
// shape. Cells off the map never belong to it.
class CellMask {
public:
    CellMask() = default;
    CellMask(int width, int height);
    // The cells of `rect` that lie on the map.
    static CellMask fromRect(int width, int height, const QRect& rect);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_count == 0; }
    int count() const { return m_count; }
    bool contains(QPoint cell) const;
    void insert(QPoint cell);
    // The smallest rectangle holding every cell; empty for none.
    QRect bounds() const { return m_bounds; }
    // Every cell of its bounds belongs to it.
    bool isRectangle() const { return m_count > 0 && qint64(m_count) == qint64(m_bounds.width()) * m_bounds.height(); }

    // Shift adds to a selection, Ctrl takes away from it; Intersect keeps
    // the cells of both. `other` is taken as a mask of this map's size.
    enum class Combine { Replace, Add, Subtract, Intersect };
    void combine(const CellMask& other, Combine how);

    bool operator==(const CellMask& other) const = default;

private:
    bool onMap(QPoint cell) const { return cell.x() >= 0 && cell.y() >= 0 && cell.x() < m_width && cell.y() < m_height; }
    size_t index(QPoint cell) const { return size_t(cell.y()) * size_t(m_width) + size_t(cell.x()); }
    void recount();

    int m_width = 0;
    int m_height = 0;
    std::vector<quint8> m_cells;   // 1 per cell of the map, row by row
    int m_count = 0;
    QRect m_bounds;
};

// --- Selections made from the map's bytes --------------------------------------

// Every cell of the map that holds `block` (Select Same).
CellMask sameBlockCells(const MapGrid& grid, quint8 block);
// The 4-connected cells around `start` that hold its byte (Magic Wand), within
// `limit` when it is not empty. Empty when `start` is not a cell of the map or
// lies outside `limit`.
CellMask connectedCells(const MapGrid& grid, QPoint start, const CellMask& limit = {});

// --- Region operations on a selection of any shape -----------------------------

// The blocks of `cells` within their bounds; a selection that is no rectangle
// gives a region with a mask.
BlockRegion copyMasked(const MapGrid& grid, const CellMask& cells, qint32 tileset);
// Every cell of `cells` takes `pattern` repeated from `origin`.
CellEdits fillMasked(const MapGrid& grid, const CellMask& cells, const BlockRegion& pattern, QPoint origin);
// `region` with its top-left cell at `at`, only on the cells of `clip` (on the
// whole map when `clip` is empty).
CellEdits pasteClipped(const MapGrid& grid, const BlockRegion& region, QPoint at, const CellMask& clip);
// Bucket Fill inside `limit` (the whole map when empty): the cells Magic
// Wand would select from `start` take `pattern` repeated from `start`.
CellEdits floodFillMasked(const MapGrid& grid, QPoint start, const BlockRegion& pattern, const CellMask& limit);
