#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

class QMimeData;
struct MapState;

// A rectangle of block bytes lifted from a map: a stamp, a fill pattern or
// what the clipboard holds. Byte (x, y) is blocks[y * width + x].
struct BlockRegion {
    int width = 0;
    int height = 0;
    std::vector<quint8> blocks;
    qint32 tileset = 0;   // the tileset of the map the blocks came from, 0 unknown
    // The cells that belong to the region, 1 per cell in the order of
    // `blocks`; empty when every cell does (a rectangle).
    std::vector<quint8> mask{};

    static constexpr int MaxSide = 511;   // no map is wider or higher

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool isSingle() const { return width == 1 && height == 1; }
    quint8 at(int x, int y) const { return blocks[size_t(y) * size_t(width) + size_t(x)]; }
    // Whether cell (x, y) belongs to the region: a pasted region leaves the others as they are.
    bool has(int x, int y) const { return mask.empty() || mask[size_t(y) * size_t(width) + size_t(x)] != 0; }
    // The pattern repeated from `origin`: the byte that lands on map cell `cell`.
    quint8 repeatedAt(QPoint origin, QPoint cell) const;
    // Whether that byte belongs to the region.
    bool repeatedHas(QPoint origin, QPoint cell) const;
    static BlockRegion single(quint8 block, qint32 tileset = 0);
    bool operator==(const BlockRegion&) const = default;
};

// The rectangle of cells with corners `a` and `b`, in either order.
inline QRect cellSpan(QPoint a, QPoint b)
{
    return QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())), QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())));
}

// One cell's change, as an undo command keeps it.
struct CellEdit {
    int cell = 0;
    quint8 before = 0;
    quint8 after = 0;
    bool operator==(const CellEdit&) const = default;
};
using CellEdits = std::vector<CellEdit>;

// The cells of a map as the region operations see them: `width` x `height`
// cells over `bytes`; only cells whose byte was read take part. The
// operations themselves work on selections (model/map/cell_mask.h).
class MapGrid {
public:
    MapGrid(const MapState& bytes, int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    QRect bounds() const { return QRect(0, 0, m_width, m_height); }
    bool holds(QPoint cell) const;
    // The cell's byte; 0 for a cell whose byte was not read.
    quint8 at(QPoint cell) const;

private:
    int index(QPoint cell) const { return cell.y() * m_width + cell.x(); }

    const MapState& m_bytes;
    int m_width;
    int m_height;
};

// The clipboard's plain text: one line per row, two upper-case hexadecimal
// digits per block, separated by spaces.
QString regionText(const BlockRegion& region);
// Reads such text back (any letter case, any run of blanks, a final line
// break or not). Rows of unequal length or anything that is not a byte gives
// nothing and the reason in `error`.
std::optional<BlockRegion> parseRegionText(const QString& text, QString* error = nullptr);

// The clipboard's own format: width, height, tileset (32-bit, big-endian),
// then the block bytes row by row.
inline constexpr char RegionMimeType[] = "application/x-kartola-blocks";
QByteArray regionPayload(const BlockRegion& region);
std::optional<BlockRegion> parseRegionPayload(const QByteArray& payload);

// The clipboard's content for `region`: both formats.
QMimeData* regionMimeData(const BlockRegion& region);
// The blocks on the clipboard: our own format when it is there and sound,
// else the text. Nothing, and the reason in `error`, when neither holds blocks.
std::optional<BlockRegion> regionFromMimeData(const QMimeData& data, QString* error = nullptr);
