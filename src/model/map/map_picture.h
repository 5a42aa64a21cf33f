#pragma once

#include <QImage>

class BlockPictures;
struct MapRecord;
struct MapState;

// The whole map as the map view shows it at 100 %, MapWidth x MapHeight blocks
// of 64 x 64 pixels, drawn by the map renderer. The command line writes it. A
// null image when no map can be shown.
QImage composeMapPicture(const MapRecord& record, const MapState& map, const BlockPictures& pictures, bool grid);
