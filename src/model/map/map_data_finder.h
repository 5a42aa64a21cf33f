#pragma once

#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

// Where a map's block bytes may lie in an image nobody has catalogued yet:
// stretches in which every byte is a block the tileset's palette shows
// (1 to `blocks`; byte n shows palette row n - 1), at least `minimumRows`
// rows of `width` long. Longest first; stretches of one repeated byte, which
// are most often empty space, after all others; equal lengths by offset.
struct MapDataStretch {
    qint64 offset = 0;
    qint64 length = 0;     // bytes
    bool repeated = false; // every byte the same
};

struct MapDataSearch {
    int blocks = 0;        // the tileset's block count, 1 to 127
    int width = 0;         // blocks a row, at least 1
    int minimumRows = 2;
    int limit = 500;       // stretches listed at most
};

QList<MapDataStretch> findMapData(QByteArrayView image, const MapDataSearch& search);
