#pragma once

#include <QImage>

class BlockPictures;
struct MapRecord;
struct MapState;

// Draws cell (column, row) of the map into `target` at 64 pixels a block:
// the block picture of its byte, black when the cell has no byte or its block
// no picture, framed when the grid is on. The map view draws each cell it
// shows with this.
void drawMapCell(QImage& target, const MapRecord& record, const MapState& map, const BlockPictures& pictures,
                 int column, int row, bool grid);

// The whole map as the map view shows it, MapWidth x MapHeight blocks of 64 x
// 64 pixels. Save Map Picture and the command line write it. A null image
// when the map has no cells or more than a map may have.
QImage composeMapPicture(const MapRecord& record, const MapState& map, const BlockPictures& pictures, bool grid);
