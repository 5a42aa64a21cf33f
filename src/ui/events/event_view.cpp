#include "ui/events/event_view.h"

#include "model/events/event_icons.h"
#include "model/events/event_renderer.h"

#include <QPaintEvent>
#include <QPainter>

EventView::EventView(const EventRenderer& renderer, const EventState& events, QWidget* parent)
    : ZoomView(EventIcons::Size, Rounding::TowardZero, parent), m_renderer(renderer), m_events(events)
{
}

void EventView::updateSquare(int x, int y)
{
    update(unitRect(x, y));
}

void EventView::paintEvent(QPaintEvent* event)
{
    const QRect exposed = event->rect();
    if (exposed.isEmpty())
        return;
    if (m_scratch.width() < exposed.width() || m_scratch.height() < exposed.height())
        m_scratch = QImage(qMax(m_scratch.width(), exposed.width()), qMax(m_scratch.height(), exposed.height()),
                           QImage::Format_RGB32);
    // The view is as large as the map, which covers it.
    if (m_background)
        m_background(m_scratch, QPoint(0, 0), exposed, zoom());
    else
        m_scratch.fill(Qt::black);
    m_renderer.render(m_scratch, QPoint(0, 0), exposed, zoom(), m_events);
    QPainter painter(this);
    painter.drawImage(exposed.topLeft(), m_scratch, QRect(QPoint(0, 0), exposed.size()));
}
