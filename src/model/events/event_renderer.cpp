#include "model/events/event_renderer.h"

#include "base/view_zoom.h"
#include "model/events/event_icons.h"
#include "model/events/event_tables.h"

#include <algorithm>
#include <vector>

namespace {

// Every blend of one channel at EventIcons::Alpha, indexed by source * 256 + destination.
const std::vector<quint8>& blendTable()
{
    static const std::vector<quint8> table = [] {
        std::vector<quint8> t(256 * 256);
        for (int src = 0; src < 256; ++src)
            for (int dst = 0; dst < 256; ++dst)
                t[size_t(src * 256 + dst)] = quint8(blendChannel(src, dst, EventIcons::Alpha));
        return t;
    }();
    return table;
}

int levelIndex(int zoom)
{
    const auto& levels = ViewZoom::Levels;
    return int(std::find(levels.begin(), levels.end(), zoom) - levels.begin());
}

} // namespace

EventRenderer::EventRenderer(const EventIcons& icons) : m_icons(icons) {}

QRect EventRenderer::squareArea(int x, int y, int zoom)
{
    const int side = int(ViewZoom::scaled(EventIcons::Size, zoom));
    return QRect(x * side, y * side, side, side);
}

const QImage& EventRenderer::iconAt(int index, int zoom) const
{
    const QImage& icon = m_icons.icon(index);
    if (zoom == ViewZoom::Actual)
        return icon;
    QImage& scaled = m_scaled[size_t(levelIndex(zoom))][size_t(index)];
    if (scaled.isNull()) {
        const int side = int(ViewZoom::scaled(EventIcons::Size, zoom));
        // Enlarged icons keep their pixels sharp; reduced ones are averaged.
        const auto mode = zoom > ViewZoom::Actual ? Qt::FastTransformation : Qt::SmoothTransformation;
        scaled = icon.scaled(side, side, Qt::IgnoreAspectRatio, mode).convertToFormat(QImage::Format_RGB32);
    }
    return scaled;
}

void EventRenderer::render(QImage& target, QPoint at, const QRect& area, int zoom, const EventState& state) const
{
    if (!ViewZoom::isLevel(zoom) || target.format() != QImage::Format_RGB32)
        return;
    const QRect clip = area & QRect(area.topLeft() - at, target.size());
    if (clip.isEmpty())
        return;
    const quint8* table = blendTable().data();
    for (quint8 kind : {TEventData::Warp, TEventData::Singpost, TEventData::People}) {
        const QImage& icon = iconAt(kind, zoom);
        const int count = eventCount(state, kind);
        for (int i = 1; i <= count; ++i) {
            int x = 0, y = 0;
            eventSquare(state, TEventData{quint8(i), kind}, &x, &y);
            const QRect square = squareArea(x, y, zoom);
            const QRect part = square & clip;
            if (part.isEmpty())
                continue;
            const QPoint to = at + (part.topLeft() - area.topLeft());
            const QPoint from = part.topLeft() - square.topLeft();
            for (int row = 0; row < part.height(); ++row) {
                const auto* src = reinterpret_cast<const QRgb*>(icon.constScanLine(from.y() + row)) + from.x();
                auto* dst = reinterpret_cast<QRgb*>(target.scanLine(to.y() + row)) + to.x();
                for (int column = 0; column < part.width(); ++column) {
                    const QRgb s = src[column], d = dst[column];
                    dst[column] = qRgb(table[qRed(s) * 256 + qRed(d)], table[qGreen(s) * 256 + qGreen(d)],
                                       table[qBlue(s) * 256 + qBlue(d)]);
                }
            }
        }
    }
}
