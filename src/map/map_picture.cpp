#include "map/map_picture.h"

#include "catalogue/map_record.h"
#include "map/block_blit.h"
#include "map/block_pictures.h"
#include "map/map_state.h"

namespace {
constexpr int Cell = BlockPictures::BlockPixels;
}

void drawMapCell(QImage& target, const MapRecord& record, const MapState& map, const BlockPictures& pictures,
                 int column, int row, bool grid)
{
    const qint64 cell = qint64(row) * record.MapWidth + column;
    const int n = cell <= MapBufferSize && map.cellHasByte(qint32(cell)) ? map.MapBytes[size_t(cell)] : 0;
    const int t = record.TilesetNumber;
    const QRect place(Cell * column, Cell * row, Cell, Cell);
    // A cell without a picture is cleared, so it never shows a block it does not hold.
    if (n >= 1 && pictures.has(t, n - 1))
        blitImage(target, place.topLeft(), pictures.picture(t, n - 1), QRect(0, 0, Cell, Cell));
    else
        fillBlack(target, place);
    if (grid)
        drawFrame(target, place);
}

QImage composeMapPicture(const MapRecord& record, const MapState& map, const BlockPictures& pictures, bool grid)
{
    const int w = record.MapWidth, h = record.MapHeight;
    if (w <= 0 || h <= 0 || qint64(w) * h > MapBufferSize)
        return QImage();
    QImage image(w * Cell, h * Cell, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            drawMapCell(image, record, map, pictures, x, y, grid);
    return image;
}
