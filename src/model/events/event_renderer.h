#pragma once

#include "model/events/event_records.h"

#include <QImage>
#include <QRect>
#include <array>

class EventIcons;

// Draws the event icons over a picture of the map: one icon per warp,
// signpost and person on its square, blended at 150/255 over what lies
// beneath, warps first, then signposts, then people, so that the icon drawn
// last is the event a press on that square picks.
class EventRenderer {
public:
    explicit EventRenderer(const EventIcons& icons);

    // Blends the icons of every event whose square meets `area` (view pixels
    // at `zoom` percent) into `target` (Format_RGB32), the area's top-left
    // corner lying at `at`. Nothing is drawn for a zoom that is no view level.
    void render(QImage& target, QPoint at, const QRect& area, int zoom, const EventState& state) const;

    // Square (x, y) in view pixels at `zoom` (32 x 32 at 100 %).
    static QRect squareArea(int x, int y, int zoom);

private:
    const QImage& iconAt(int index, int zoom) const;

    const EventIcons& m_icons;
    // The icons scaled to each zoom other than 100 %, made when first needed.
    mutable std::array<std::array<QImage, 3>, 5> m_scaled;
};
