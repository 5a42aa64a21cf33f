#include "model/map/palette_picture.h"

#include "model/catalogue/map_record.h"
#include "model/map/block_blit.h"
#include "model/map/block_pictures.h"

QImage composePalette(const BlockPictures& pictures, int tileset, bool grid)
{
    constexpr int Cell = BlockPictures::BlockPixels;
    QImage image(Cell, Cell * BlockPlaces, QImage::Format_RGB32);
    for (int r = 0; r < BlockPlaces; ++r) {
        const QRect row(0, Cell * r, Cell, Cell);
        if (pictures.has(tileset, r))
            blitImage(image, row.topLeft(), pictures.picture(tileset, r), QRect(0, 0, Cell, Cell));
        else
            fillBlack(image, row);
        if (grid)
            drawFrame(image, row);
    }
    return image;
}
