#pragma once

#include "model/map/packed_rows.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <vector>

class BlockPictures;
class QPainter;
class WorkProgress;
struct MapRecord;
struct MapState;

// Draws the current map from its bytes and the block picture cache: any
// rectangle of it at any view zoom, for the map view, the event view and the
// picture export alike. A cell whose byte shows no picture is black; with
// the grid on every block has a one-pixel black frame on its outermost pixels
// (the frames of neighbours make two-pixel lines between blocks).
class MapRenderer {
public:
    MapRenderer(const MapRecord& map, const MapState& bytes, const BlockPictures& pictures);

    void setGrid(bool on) { m_grid = on; }
    bool grid() const { return m_grid; }

    // The map's size in blocks, 0 x 0 while no map can be shown.
    int columns() const;
    int rows() const;
    // The whole map in view pixels at `zoom` percent (64-bit: a long map at
    // 400 % is wider than a widget may be; the caller decides what to do).
    qint64 viewWidth(int zoom) const;
    qint64 viewHeight(int zoom) const;

    // Draws `area` (view pixels at `zoom`) into `target` (Format_RGB32) with
    // the area's top-left corner at `at`. Parts of the area outside the map
    // are left as they are; so is the target for a zoom that is no view level.
    void render(QImage& target, QPoint at, const QRect& area, int zoom) const;
    // The same through a painter whose coordinates are view pixels.
    void draw(QPainter& painter, const QRect& area, int zoom) const;

    // Rows band.top .. of the whole map at 100 % as packed pixels, the
    // picture files' own form: each block row a copy of a packed block row.
    void renderPacked(const PackedRows& band) const;

    // The whole map at 100 %, as Save Map Picture writes it.
    QImage picture() const;
    // Writes the whole map at 100 % as a picture file (PNG or 24-bit BMP by
    // the name), composed one row of blocks at a time so that a large map
    // never needs its picture whole. On failure: false, "Cannot create file
    // <path>" in `error`, an old file of that name whole. A PNG is deflated
    // on `threads` threads (one: on this thread), one a core when none is
    // named. With `progress`, the rows written are reported and a
    // stop ends the work with no file written (see writePictureInBands).
    bool writePicture(const QString& path, QString* error) const;
    bool writePicture(const QString& path, QString* error, int threads,
                      WorkProgress* progress = nullptr) const;

private:
    // The picture of block place (t, row) at `zoom` for zooms up to 100 %
    // (the cache's own picture at 100 %), or null when there is none.
    const QImage* blockAt(int row, int zoom) const;
    void drawCell(QImage& target, QPoint at, const QRect& area, const QRect& cell, const QImage* picture,
                  int zoom) const;

    const MapRecord& m_map;
    const MapState& m_bytes;
    const BlockPictures& m_pictures;
    bool m_grid = false;

    // Smaller copies of block pictures for 25 % and 50 %, made when first
    // needed and made again when the cache's picture changes.
    struct Reduced {
        qint64 sourceKey = 0;
        QImage image;
    };
    mutable std::array<std::vector<Reduced>, 2> m_reduced;
    mutable std::vector<Reduced> m_normalised;   // pictures not 64 x 64 RGB32
    // Block pictures as packed pixels for the picture files, BGR then RGB.
    struct Packed {
        qint64 sourceKey = 0;
        QByteArray bytes;
    };
    const uchar* packedAt(int cell, bool bgr) const;
    mutable std::array<std::vector<Packed>, 2> m_packed;
    mutable QImage m_scratch;   // draw()'s intermediate picture, reused
};
