#include "model/map/map_renderer.h"

#include "model/catalogue/map_record.h"
#include "base/view_zoom.h"
#include "model/map/block_pictures.h"
#include "model/map/picture_file.h"
#include "model/map/map_state.h"

#include <QPainter>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace {

constexpr int Block = BlockPictures::BlockPixels;   // 64
constexpr QRgb Black = 0xFF000000u;

int blockPixels(int zoom) { return int(ViewZoom::scaled(Block, zoom)); }

// Index of the reduced copies kept for a zoom below 100 %, -1 for none.
int reducedIndex(int zoom) { return zoom == 25 ? 0 : zoom == 50 ? 1 : -1; }

void fillBlack(QImage& target, const QRect& rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        std::fill(line + rect.left(), line + rect.left() + rect.width(), Black);
    }
}

} // namespace

MapRenderer::MapRenderer(const MapRecord& map, const MapState& bytes, const BlockPictures& pictures)
    : m_map(map), m_bytes(bytes), m_pictures(pictures)
{
}

int MapRenderer::columns() const
{
    const qint64 w = m_map.MapWidth, h = m_map.MapHeight;
    return m_bytes.hasMap && w > 0 && h > 0 && w * h <= MapBufferSize ? int(w) : 0;
}

int MapRenderer::rows() const
{
    return columns() > 0 ? int(m_map.MapHeight) : 0;
}

qint64 MapRenderer::viewWidth(int zoom) const
{
    return ViewZoom::isLevel(zoom) ? ViewZoom::scaled(qint64(columns()) * Block, zoom) : 0;
}

qint64 MapRenderer::viewHeight(int zoom) const
{
    return ViewZoom::isLevel(zoom) ? ViewZoom::scaled(qint64(rows()) * Block, zoom) : 0;
}

const QImage* MapRenderer::blockAt(int row, int zoom) const
{
    const int t = m_map.TilesetNumber;
    if (!m_pictures.has(t, row))
        return nullptr;
    const QImage& source = m_pictures.picture(t, row);
    const bool plain = source.format() == QImage::Format_RGB32 && source.size() == QSize(Block, Block);
    const int index = reducedIndex(zoom);
    if (index < 0 && plain)
        return &source;

    // Reduced pictures for 25 % and 50 %; a picture of another format or size
    // is brought to 64 x 64 once and kept with the 100 % ones.
    std::vector<Reduced>& kept = index < 0 ? m_normalised : m_reduced[size_t(index)];
    const size_t place = size_t(t - 1) * BlockPlaces + size_t(row);
    if (kept.size() < size_t(TilesetCount) * BlockPlaces)
        kept.resize(size_t(TilesetCount) * BlockPlaces);
    Reduced& entry = kept[place];
    if (entry.image.isNull() || entry.sourceKey != source.cacheKey()) {
        const int side = index < 0 ? Block : blockPixels(zoom);
        entry.image = source.convertToFormat(QImage::Format_RGB32)
                          .scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
        entry.sourceKey = source.cacheKey();
    }
    return &entry.image;
}

void MapRenderer::drawCell(QImage& target, QPoint at, const QRect& area, const QRect& cell, const QImage* picture,
                           int zoom) const
{
    const QRect part = cell & area;
    const QPoint to = at + (part.topLeft() - area.topLeft());
    if (!picture) {
        fillBlack(target, QRect(to, part.size()));
        return;
    }
    const int sx = part.left() - cell.left(), sy = part.top() - cell.top();
    if (zoom <= ViewZoom::Actual) {
        const size_t rowBytes = size_t(part.width()) * 4;
        for (int y = 0; y < part.height(); ++y)
            std::memcpy(target.scanLine(to.y() + y) + qsizetype(to.x()) * 4,
                        picture->constScanLine(sy + y) + qsizetype(sx) * 4, rowBytes);
        return;
    }
    // Enlarged: each picture pixel becomes a square of factor x factor pixels.
    // A view row is built once per picture row and copied for the others.
    const int factor = zoom / ViewZoom::Actual;
    int builtFrom = -1;
    for (int y = 0; y < part.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(to.y() + y)) + to.x();
        const int source = (sy + y) / factor;
        if (source == builtFrom) {
            std::memcpy(out, reinterpret_cast<const QRgb*>(target.constScanLine(to.y() + y - 1)) + to.x(),
                        size_t(part.width()) * 4);
            continue;
        }
        const auto* in = reinterpret_cast<const QRgb*>(picture->constScanLine(source));
        for (int x = 0; x < part.width(); ++x)
            out[x] = in[(sx + x) / factor];
        builtFrom = source;
    }
}

void MapRenderer::render(QImage& target, QPoint at, const QRect& area, int zoom) const
{
    if (!ViewZoom::isLevel(zoom) || target.format() != QImage::Format_RGB32 || columns() == 0)
        return;
    // What of the area lies on the map and lands inside the target.
    const QRect onMap(0, 0, int(viewWidth(zoom)), int(viewHeight(zoom)));
    const QRect reach(area.topLeft() - at, target.size());
    const QRect clip = area & onMap & reach;
    if (clip.isEmpty())
        return;
    const QPoint to = at + (clip.topLeft() - area.topLeft());

    const int s = blockPixels(zoom);
    const int width = columns();
    const int c0 = clip.left() / s, c1 = clip.right() / s;
    const int r0 = clip.top() / s, r1 = clip.bottom() / s;
    for (int row = r0; row <= r1; ++row)
        for (int column = c0; column <= c1; ++column) {
            const int cell = row * width + column;
            const int n = m_bytes.cellHasByte(cell) ? m_bytes.MapBytes[size_t(cell)] : 0;
            const QImage* picture = n >= 1 ? blockAt(n - 1, zoom) : nullptr;
            drawCell(target, to, clip, QRect(column * s, row * s, s, s), picture, zoom);
        }
    if (!m_grid)
        return;
    // The frames of all blocks, as whole lines across the area.
    const auto line = [&](const QRect& viewLine) {
        const QRect part = viewLine & clip;
        if (!part.isEmpty())
            fillBlack(target, part.translated(to - clip.topLeft()));
    };
    for (int row = r0; row <= r1; ++row) {
        line(QRect(clip.left(), row * s, clip.width(), 1));
        line(QRect(clip.left(), row * s + s - 1, clip.width(), 1));
    }
    for (int column = c0; column <= c1; ++column) {
        line(QRect(column * s, clip.top(), 1, clip.height()));
        line(QRect(column * s + s - 1, clip.top(), 1, clip.height()));
    }
}

void MapRenderer::draw(QPainter& painter, const QRect& area, int zoom) const
{
    const QRect clip = area & QRect(0, 0, int(viewWidth(zoom)), int(viewHeight(zoom)));
    if (clip.isEmpty())
        return;
    if (m_scratch.width() < clip.width() || m_scratch.height() < clip.height())
        m_scratch = QImage(std::max(m_scratch.width(), clip.width()), std::max(m_scratch.height(), clip.height()),
                           QImage::Format_RGB32);
    render(m_scratch, QPoint(0, 0), clip, zoom);
    painter.drawImage(clip.topLeft(), m_scratch, QRect(QPoint(0, 0), clip.size()));
}

const uchar* MapRenderer::packedAt(int cell, bool bgr) const
{
    const int n = m_bytes.cellHasByte(cell) ? m_bytes.MapBytes[size_t(cell)] : 0;
    const QImage* picture = n >= 1 ? blockAt(n - 1, ViewZoom::Actual) : nullptr;
    if (!picture)
        return nullptr;
    std::vector<Packed>& kept = m_packed[bgr ? 0 : 1];
    if (kept.size() < size_t(TilesetCount) * BlockPlaces)
        kept.resize(size_t(TilesetCount) * BlockPlaces);
    Packed& entry = kept[size_t(m_map.TilesetNumber - 1) * BlockPlaces + size_t(n - 1)];
    if (entry.bytes.isEmpty() || entry.sourceKey != picture->cacheKey()) {
        entry.bytes.resize(Block * Block * 3);
        auto* out = reinterpret_cast<uchar*>(entry.bytes.data());
        for (int y = 0; y < Block; ++y)
            packRgb32Row(reinterpret_cast<const QRgb*>(picture->constScanLine(y)), Block, out + y * Block * 3, bgr);
        entry.sourceKey = picture->cacheKey();
    }
    return reinterpret_cast<const uchar*>(entry.bytes.constData());
}

void MapRenderer::renderPacked(const PackedRows& band) const
{
    const int width = columns();
    const int height = rows() * Block;
    const size_t blockBytes = Block * 3;
    std::vector<const uchar*> line(size_t(width), nullptr);   // the blocks of the current block row
    int lineRow = -1;
    for (int i = 0; i < band.rows; ++i) {
        const int y = band.top + i;
        if (y < 0 || y >= height)
            continue;
        const int row = y / Block, sy = y % Block;
        if (row != lineRow) {
            for (int column = 0; column < width; ++column)
                line[size_t(column)] = packedAt(row * width + column, band.bgr);
            lineRow = row;
        }
        uchar* out = band.row(i);
        for (int column = 0; column < width; ++column, out += blockBytes) {
            if (const uchar* picture = line[size_t(column)])
                std::memcpy(out, picture + size_t(sy) * blockBytes, blockBytes);
            else
                std::memset(out, 0, blockBytes);   // black
        }
        if (!m_grid)
            continue;
        // The block frames: whole rows at a block's top and bottom, else the
        // outermost pixel on each side of every block.
        out = band.row(i);
        if (sy == 0 || sy == Block - 1) {
            std::memset(out, 0, size_t(width) * blockBytes);
            continue;
        }
        for (int column = 0; column < width; ++column) {
            std::memset(out + size_t(column) * blockBytes, 0, 3);
            std::memset(out + size_t(column) * blockBytes + blockBytes - 3, 0, 3);
        }
    }
}

QImage MapRenderer::picture() const
{
    QImage image(int(viewWidth(ViewZoom::Actual)), int(viewHeight(ViewZoom::Actual)), QImage::Format_RGB32);
    render(image, QPoint(0, 0), image.rect(), ViewZoom::Actual);
    return image;
}

bool MapRenderer::writePicture(const QString& path, QString* error) const
{
    return writePicture(path, error, QThread::idealThreadCount());
}

bool MapRenderer::writePicture(const QString& path, QString* error, int threads, WorkProgress* progress) const
{
    const int width = int(viewWidth(ViewZoom::Actual)), height = int(viewHeight(ViewZoom::Actual));
    // A band is a row of blocks, or less on a very wide map, so that it stays
    // near a million pixels; its height divides 64.
    int bandRows = Block;
    while (bandRows > 1 && qint64(width) * bandRows > (qint64(1) << 20))
        bandRows /= 2;
    return writePictureInBands(path, width, height, bandRows,
                               [&](const PackedRows& band) { renderPacked(band); }, error, threads, progress);
}
