#pragma once

#include "model/events/event_records.h"
#include "widgets/zoom_view.h"

#include <QImage>
#include <functional>

class EventRenderer;

// The event view: the map with the event icons over it, drawn for the
// exposed rectangle at the view's zoom. The map beneath comes from the
// background function (the same renderer as the map view's), so the view
// always shows the map as it is. Reports the pointer in event squares.
class EventView : public ZoomView {
    Q_OBJECT
public:
    // Draws `area` (view pixels at `zoom`) of the map into the picture, the
    // area's top-left corner at the given point. The owner gives the view
    // the map's size, so the background covers every exposed rectangle.
    using Background = std::function<void(QImage& target, QPoint at, const QRect& area, int zoom)>;

    EventView(const EventRenderer& renderer, const EventState& events, QWidget* parent = nullptr);

    void setBackground(Background background) { m_background = std::move(background); }
    // Redraws square (x, y).
    void updateSquare(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const EventRenderer& m_renderer;
    const EventState& m_events;
    Background m_background;
    QImage m_scratch;   // the exposed rectangle being composed, reused
};
