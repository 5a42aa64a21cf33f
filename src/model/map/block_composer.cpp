#include "model/map/block_composer.h"

#include "model/map/block_blit.h"
#include "model/map/block_pictures.h"

namespace BlockComposer {

namespace {
template <typename Tiles>
void composeTiles(QImage& picture, const TilePicture& pics, const Tiles& tiles)
{
    fillBlack(picture, picture.rect());
    for (int i = 0; i < 16; ++i) {
        const QPoint at(TileSpacing * (i % TilesPerRow), TileSpacing * (i / TilesPerRow));
        blitImage(picture, at, pics.image(), pics.cell(int(tiles[size_t(i)])));
    }
}
}

QImage emptyBlock()
{
    QImage picture(BlockPictures::BlockPixels, BlockPictures::BlockPixels, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

void compose(QImage& picture, const TilePicture& pics, const std::array<quint8, 16>& tiles)
{
    composeTiles(picture, pics, tiles);
}

void compose(QImage& picture, const TilePicture& pics, const std::array<qint32, 16>& tiles)
{
    composeTiles(picture, pics, tiles);
}

} // namespace BlockComposer
