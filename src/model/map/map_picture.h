#pragma once

#include <QString>

class BlockPictures;
struct MapRecord;
struct MapState;

// Writes the whole map as the map view shows it at 100 %, MapWidth x
// MapHeight blocks of 64 x 64 pixels drawn by the map renderer, to `path`
// (PNG or BMP by the name) a band at a time, as MapRenderer::writePicture.
// The command line writes it; a PNG is deflated on `threads` threads
// (one: on the calling thread).
bool writeMapPicture(const MapRecord& record, const MapState& map, const BlockPictures& pictures, bool grid,
                     const QString& path, QString* error, int threads);
