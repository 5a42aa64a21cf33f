#include "events/event_view.h"

#include "events/event_icons.h"
#include "events/event_tables.h"

#include <cstring>

namespace {

// Blends the icons of every event on square (x, y), or on every square when
// `all`, in drawing order.
void drawIcons(QImage& surface, const EventState& state, const EventIcons& icons, bool all, int x, int y)
{
    for (quint8 kind : {TEventData::Warp, TEventData::Singpost, TEventData::People}) {
        const int count = eventCount(state, kind);
        for (int i = 1; i <= count; ++i) {
            int ex = 0, ey = 0;
            eventSquare(state, TEventData{quint8(i), kind}, &ex, &ey);
            if (all || (ex == x && ey == y))
                icons.draw(surface, ex * 32, ey * 32, kind);
        }
    }
}

} // namespace

void composeEvents(QImage& surface, const QImage& background, const EventState& state, const EventIcons& icons)
{
    if (surface.size() == background.size() && surface.format() == QImage::Format_RGB32
        && background.format() == QImage::Format_RGB32) {
        for (int row = 0; row < surface.height(); ++row)
            std::memcpy(surface.scanLine(row), background.constScanLine(row), size_t(surface.width()) * 4);
    } else {
        surface = background.convertToFormat(QImage::Format_RGB32);
    }
    drawIcons(surface, state, icons, true, 0, 0);
}

QRect recomposeSquare(QImage& surface, const QImage& background, const EventState& state,
                      const EventIcons& icons, int x, int y)
{
    const QRect area = squareRect(x, y) & surface.rect() & background.rect();
    if (area.isEmpty() || background.format() != QImage::Format_RGB32)
        return {};
    for (int row = area.top(); row <= area.bottom(); ++row)
        std::memcpy(surface.scanLine(row) + area.left() * 4, background.constScanLine(row) + area.left() * 4,
                    size_t(area.width()) * 4);
    drawIcons(surface, state, icons, false, x, y);
    return area;
}
