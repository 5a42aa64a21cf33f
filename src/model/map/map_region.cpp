#include "model/map/map_region.h"

#include "model/map/map_state.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QStringList>

#include <algorithm>

namespace {
// Remainder in 0..d-1 for any sign of n.
int wrap(int n, int d)
{
    const int r = n % d;
    return r < 0 ? r + d : r;
}
}

quint8 BlockRegion::repeatedAt(QPoint origin, QPoint cell) const
{
    return at(wrap(cell.x() - origin.x(), width), wrap(cell.y() - origin.y(), height));
}

bool BlockRegion::repeatedHas(QPoint origin, QPoint cell) const
{
    return has(wrap(cell.x() - origin.x(), width), wrap(cell.y() - origin.y(), height));
}

BlockRegion BlockRegion::single(quint8 block, qint32 tileset)
{
    return BlockRegion{1, 1, {block}, tileset};
}

// --- The map's cells ---------------------------------------------------------

MapGrid::MapGrid(const MapState& bytes, int width, int height)
    : m_bytes(bytes), m_width(qMax(0, width)), m_height(qMax(0, height))
{
}

bool MapGrid::holds(QPoint cell) const
{
    return bounds().contains(cell) && m_bytes.cellHasByte(index(cell));
}

quint8 MapGrid::at(QPoint cell) const
{
    return holds(cell) ? m_bytes.MapBytes[size_t(index(cell))] : 0;
}

// --- Clipboard formats ----------------------------------------------------------

QString regionText(const BlockRegion& region)
{
    QString text;
    for (int y = 0; y < region.height; ++y) {
        for (int x = 0; x < region.width; ++x) {
            if (x > 0)
                text += QLatin1Char(' ');
            // A cell outside a region of any shape is "..": pasted, it changes nothing.
            if (!region.has(x, y))
                text += QLatin1String("..");
            else
                text += QStringLiteral("%1").arg(region.at(x, y), 2, 16, QLatin1Char('0')).toUpper();
        }
        text += QLatin1Char('\n');
    }
    return text;
}

std::optional<BlockRegion> parseRegionText(const QString& text, QString* error)
{
    const auto refuse = [error](const QString& why) -> std::optional<BlockRegion> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QStringList lines = text.split(QLatin1Char('\n'));
    // Blank lines at either end (a final line break, say) are no rows.
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    while (!lines.isEmpty() && lines.first().trimmed().isEmpty())
        lines.removeFirst();
    if (lines.isEmpty())
        return refuse(QStringLiteral("The clipboard holds no blocks."));
    if (lines.size() > BlockRegion::MaxSide)
        return refuse(QStringLiteral("The clipboard's blocks are more than %1 rows.").arg(BlockRegion::MaxSide));
    BlockRegion region;
    region.height = int(lines.size());
    for (const QString& line : std::as_const(lines)) {
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (region.width == 0) {
            if (words.size() > BlockRegion::MaxSide)
                return refuse(QStringLiteral("The clipboard's blocks are more than %1 columns.").arg(BlockRegion::MaxSide));
            region.width = int(words.size());
        }
        if (words.size() != region.width)
            return refuse(QStringLiteral("The clipboard's rows of blocks are not all of one length."));
        for (const QString& word : words) {
            if (word == QLatin1String("..")) {
                // The first cell outside the shape: every cell before it belonged.
                if (region.mask.empty())
                    region.mask.assign(region.blocks.size(), 1);
                region.mask.push_back(0);
                region.blocks.push_back(0);
                continue;
            }
            if (!region.mask.empty())
                region.mask.push_back(1);
            bool ok = false;
            const uint value = word.toUInt(&ok, 16);
            if (!ok || word.size() > 2 || value > 0xFF)
                return refuse(QStringLiteral("\"%1\" on the clipboard is no block number.").arg(word.left(16)));
            region.blocks.push_back(quint8(value));
        }
    }
    if (region.width == 0 || (!region.mask.empty() && std::count(region.mask.cbegin(), region.mask.cend(), 1) == 0))
        return refuse(QStringLiteral("The clipboard holds no blocks."));
    return region;
}

QByteArray regionPayload(const BlockRegion& region)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << qint32(region.width) << qint32(region.height) << qint32(region.tileset);
    out.writeRawData(reinterpret_cast<const char*>(region.blocks.data()), int(region.blocks.size()));
    // A region of any shape: one more byte per cell, 1 for the cells that belong.
    if (!region.mask.empty())
        out.writeRawData(reinterpret_cast<const char*>(region.mask.data()), int(region.mask.size()));
    return payload;
}

std::optional<BlockRegion> parseRegionPayload(const QByteArray& payload)
{
    constexpr qint64 Header = 12;
    if (payload.size() < Header)
        return std::nullopt;
    QDataStream in(payload);
    qint32 width = 0, height = 0, tileset = 0;
    in >> width >> height >> tileset;
    if (width < 1 || height < 1 || width > BlockRegion::MaxSide || height > BlockRegion::MaxSide)
        return std::nullopt;
    const qint64 cells = qint64(width) * height;
    const bool masked = payload.size() == Header + 2 * cells;
    if (payload.size() != Header + cells && !masked)
        return std::nullopt;
    BlockRegion region{width, height, {}, tileset, {}};
    region.blocks.assign(payload.cbegin() + Header, payload.cbegin() + Header + cells);
    if (masked) {
        region.mask.assign(payload.cbegin() + Header + cells, payload.cend());
        const auto belong = std::count(region.mask.cbegin(), region.mask.cend(), 1);
        const auto outside = std::count(region.mask.cbegin(), region.mask.cend(), 0);
        if (belong == 0 || belong + outside != cells)
            return std::nullopt;
        if (outside == 0)
            region.mask.clear();
        // A cell outside the shape holds no block: it reads as the text form writes it.
        for (size_t i = 0; i < region.mask.size(); ++i)
            if (!region.mask[i])
                region.blocks[i] = 0;
    }
    return region;
}

QMimeData* regionMimeData(const BlockRegion& region)
{
    auto* data = new QMimeData;
    data->setData(QLatin1String(RegionMimeType), regionPayload(region));
    data->setText(regionText(region));
    return data;
}

std::optional<BlockRegion> regionFromMimeData(const QMimeData& data, QString* error)
{
    if (data.hasFormat(QLatin1String(RegionMimeType))) {
        if (std::optional<BlockRegion> region = parseRegionPayload(data.data(QLatin1String(RegionMimeType))))
            return region;
    }
    if (!data.hasText()) {
        if (error)
            *error = QStringLiteral("The clipboard holds no blocks.");
        return std::nullopt;
    }
    return parseRegionText(data.text(), error);
}
