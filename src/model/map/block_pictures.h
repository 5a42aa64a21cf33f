#pragma once

#include "model/catalogue/map_record.h"

#include <QImage>
#include <array>

// The block picture cache: 20 tilesets x 128 palette rows of 64 x 64 pictures,
// kept for the run. Place (t, r) holds block number r + 1 of tileset t.
class BlockPictures {
public:
    static constexpr int BlockPixels = 64;

    // True when t is 1..20 and r is 0..127 and the place holds a picture.
    bool has(int tileset, int row) const;
    // The picture at (t, r), or a null image when there is none.
    const QImage& picture(int tileset, int row) const;
    // Stores a picture; ignored for a place outside the cache.
    void setPicture(int tileset, int row, const QImage& picture);
    // A tileset counts as built once its row 0 holds a picture.
    bool built(int tileset) const { return has(tileset, 0); }
    void clear();

private:
    static bool validPlace(int tileset, int row)
    {
        return tileset >= 1 && tileset <= TilesetCount && row >= 0 && row < BlockPlaces;
    }
    std::array<std::array<QImage, BlockPlaces>, TilesetCount> m_places;
};
