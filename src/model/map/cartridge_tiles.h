#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

class RomImage;

// The cartridge's own tiles: 8 x 8 pixels in 16 bytes, two bytes a row from
// the top; in a row's pair the first byte holds bit 0 and the second bit 1 of
// each pixel's colour number, the leftmost pixel in bit 7. They become a tile
// picture (16 columns x 6 rows of tiles, each drawn at 2x) that a tileset
// names; the editor reads its tiles from that picture only.
namespace CartridgeTiles {

inline constexpr int TileBytes = 16;
inline constexpr int TileSide = 8;
inline constexpr int PictureTiles = 96;
inline constexpr qint64 PictureBytes = qint64(PictureTiles) * TileBytes;
inline constexpr int PaletteBytes = 8;

using Colours = std::array<QRgb, 4>;
using TilePixels = std::array<quint8, TileSide * TileSide>; // colour numbers 0-3, row by row

TilePixels decodeTile(const uchar* bytes);

// Colour number 0 the lightest, 3 the darkest.
Colours greys();
// Four 15-bit colours, little-endian, red in bits 0-4, green 5-9, blue 10-14,
// read from `offset`; nothing when the eight bytes do not lie in the image.
std::optional<Colours> paletteAt(const RomImage& rom, qint64 offset);

// The 256 x 96 picture of the 96 tiles from `offset`. An empty string and the
// picture, or a refusal (the tiles do not lie inside the image) and no picture.
QString picture(const RomImage& rom, qint64 offset, const Colours& colours, QImage* out);

} // namespace CartridgeTiles
