#include "model/map/block_pictures.h"

bool BlockPictures::has(int tileset, int row) const
{
    return validPlace(tileset, row) && !m_places[size_t(tileset - 1)][size_t(row)].isNull();
}

const QImage& BlockPictures::picture(int tileset, int row) const
{
    static const QImage none;
    if (!validPlace(tileset, row))
        return none;
    return m_places[size_t(tileset - 1)][size_t(row)];
}

void BlockPictures::setPicture(int tileset, int row, const QImage& picture)
{
    if (validPlace(tileset, row))
        m_places[size_t(tileset - 1)][size_t(row)] = picture;
}

void BlockPictures::clear()
{
    for (auto& tileset : m_places)
        for (QImage& place : tileset)
            place = QImage();
}
