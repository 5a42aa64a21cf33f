#pragma once

#include "model/map/packed_rows.h"

#include <QString>

#include <functional>

class QImage;
class WorkProgress;

// Picture files of the map and the tileset: a name ending in ".png" (any
// letter case) is written as PNG, any other name as the 24-bit BMP of the
// picture commands.
bool isPngPictureName(const QString& path);

// Draws the picture's rows band.top .. band.top + band.rows - 1 into `band`:
// the picture's width in packed pixels a row, no byte more (a BMP row's
// padding lies beyond them and stays zero).
using DrawPictureBand = std::function<void(const PackedRows& band)>;

// Writes a width x height picture to `path` atomically, replacing any file of
// that name, drawn and written one band of `bandRows` rows at a time so that
// the whole picture is never held. The BMP asks for its bands from the bottom
// up, the PNG from the top down; each band goes to the file as it is drawn,
// with no copy in between. A PNG is deflated on `threads` threads (the same
// bytes either way). On failure returns false with
// "Cannot create file <path>" in `error`; an old file of that name stays whole.
// With `progress`, the rows written are reported before each band, and the
// work stops there when asked to: false, no file written, no temporary left.
bool writePictureInBands(const QString& path, int width, int height, int bandRows, const DrawPictureBand& draw,
                         QString* error, int threads = 1, WorkProgress* progress = nullptr);

// The same for a picture held whole, a PNG deflated on a thread a core.
bool writePictureFile(const QString& path, const QImage& image, QString* error);
