#pragma once

#include "model/map/map_region.h"

#include <vector>

// The cells of a straight line from `from` to `to`, both ends included, each
// step moving to a neighbouring cell (sideways, up or down, or diagonally).
std::vector<QPoint> lineCells(QPoint from, QPoint to);

// The changes of `region` placed with its top-left cell at each of `at` in
// turn, as one change: a cell covered twice takes the later block, and keeps
// the byte it had before the first. Only the cells of the region's shape
// are placed.
CellEdits stampAlong(const MapGrid& grid, const BlockRegion& region, const std::vector<QPoint>& at);
