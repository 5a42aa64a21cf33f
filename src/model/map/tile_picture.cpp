#include "model/map/tile_picture.h"

bool TilePicture::load(const QString& path)
{
    QImage image;
    if (!image.load(path) || image.isNull())
        return false;
    setImage(image);
    return true;
}

void TilePicture::setImage(const QImage& image)
{
    m_image = image.convertToFormat(QImage::Format_RGB32);
}

QRect TilePicture::cell(int tile) const
{
    if (tile < 0 || tile >= TileCount)
        tile = 0;
    const int w = m_image.width() / Columns, h = m_image.height() / Rows;
    return QRect((tile % Columns) * w, (tile / Columns) * h, w, h);
}
