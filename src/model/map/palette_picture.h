#pragma once

#include <QImage>

class BlockPictures;

// The block palette's picture, 64 x 8192: block r + 1 of the tileset at rows
// 64 r to 64 r + 63, black where the cache holds no picture, each framed when
// the grid is on. Save Tileset Picture writes it; the block editor shows a copy.
QImage composePalette(const BlockPictures& pictures, int tileset, bool grid);
