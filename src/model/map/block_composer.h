#pragma once

#include "model/map/tile_picture.h"

#include <QImage>
#include <QtGlobal>
#include <array>

// How a block looks: 4 rows of 4 tile numbers, each drawn 1:1 from its cell of
// the tile picture at 16-pixel spacing. A number above 95 has no cell and is
// drawn as tile 0; the number itself is never changed.
namespace BlockComposer {

constexpr int TileSpacing = 16;
constexpr int TilesPerRow = 4;

// A new 64 x 64 block picture (Format_RGB32).
QImage emptyBlock();
// Draws the 16 tiles into `picture` (64 x 64), which is cleared first.
void compose(QImage& picture, const TilePicture& pics, const std::array<quint8, 16>& tiles);
void compose(QImage& picture, const TilePicture& pics, const std::array<qint32, 16>& tiles);

} // namespace BlockComposer
