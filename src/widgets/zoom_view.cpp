#include "widgets/zoom_view.h"

#include "base/view_zoom.h"
#include "widgets/zoom_setting.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

ZoomView::ZoomView(int unitPixels, Rounding rounding, QWidget* parent)
    : QWidget(parent), m_unit(qMax(4, unitPixels)), m_rounding(rounding)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void ZoomView::followZoom(ZoomSetting* setting)
{
    if (m_setting)
        disconnect(m_setting, nullptr, this, nullptr);
    m_setting = setting;
    if (!setting)
        return;
    connect(setting, &ZoomSetting::changed, this, [this](int percent) {
        const std::optional<QPoint> anchor = m_pendingAnchor;
        m_pendingAnchor.reset();
        setZoom(percent, anchor);
    });
    setZoom(setting->percent());
}

QScrollArea* ZoomView::scrollArea() const
{
    QWidget* viewport = parentWidget();
    return viewport ? qobject_cast<QScrollArea*>(viewport->parentWidget()) : nullptr;
}

int ZoomView::unitPixels() const { return int(ViewZoom::scaled(m_unit, m_zoom)); }

void ZoomView::setContentSize(qint64 width, qint64 height)
{
    m_width = qMax<qint64>(0, width);
    m_height = qMax<qint64>(0, height);
    applySize();
}

void ZoomView::applySize()
{
    const qint64 w = ViewZoom::scaled(m_width, m_zoom), h = ViewZoom::scaled(m_height, m_zoom);
    setFixedSize(int(qMin<qint64>(w, QWIDGETSIZE_MAX)), int(qMin<qint64>(h, QWIDGETSIZE_MAX)));
    update();
}

void ZoomView::setZoom(int percent, std::optional<QPoint> anchor)
{
    if (!ViewZoom::isLevel(percent) || percent == m_zoom)
        return;
    QScrollArea* area = scrollArea();
    QPoint seen;   // where the anchor lies in the scroll area's viewport
    if (area) {
        const QRect viewport = area->viewport()->rect();
        if (!anchor)
            anchor = mapFrom(area->viewport(), viewport.center());
        seen = mapTo(area->viewport(), *anchor);
    }
    const int old = m_zoom;
    m_zoom = percent;
    applySize();
    if (!area || !anchor)
        return;
    // The scroll bars learn the new size only when the view is shown; set
    // their ranges now so the anchor can be kept on a hidden page too.
    const QSize viewport = area->viewport()->size();
    QScrollBar* h = area->horizontalScrollBar();
    QScrollBar* v = area->verticalScrollBar();
    h->setRange(0, qMax(0, width() - viewport.width()));
    v->setRange(0, qMax(0, height() - viewport.height()));
    const double scale = double(percent) / old;
    h->setValue(int(std::lround(anchor->x() * scale)) - seen.x());
    v->setValue(int(std::lround(anchor->y() * scale)) - seen.y());
}

QPoint ZoomView::unitAt(QPointF position) const
{
    const qint64 side = unitPixels();
    const qint64 x = qint64(std::floor(position.x())), y = qint64(std::floor(position.y()));
    if (m_rounding == Rounding::Down)
        return QPoint(int(ViewZoom::unitFloor(x, side)), int(ViewZoom::unitFloor(y, side)));
    return QPoint(int(ViewZoom::unitTowardZero(x, side)), int(ViewZoom::unitTowardZero(y, side)));
}

QRect ZoomView::unitRect(int x, int y) const
{
    const int side = unitPixels();
    return QRect(x * side, y * side, side, side);
}

void ZoomView::mousePressEvent(QMouseEvent* event)
{
    m_pressModifiers = event->modifiers();
    emit unitPressed(unitAt(event->position()), event->button());
}

void ZoomView::mouseMoveEvent(QMouseEvent* event)
{
    emit unitMoved(unitAt(event->position()), event->buttons());
}

void ZoomView::mouseReleaseEvent(QMouseEvent* event)
{
    emit unitReleased(unitAt(event->position()), event->button());
}

void ZoomView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();   // the scroll area scrolls
        return;
    }
    event->accept();
    // One level per notch (120); a touchpad's small steps add up.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / 120;
    m_wheelAngle -= steps * 120;
    int target = m_zoom;
    for (int i = 0; i < std::abs(steps); ++i)
        target = steps > 0 ? ViewZoom::larger(target) : ViewZoom::smaller(target);
    if (target == m_zoom)
        return;
    const QPoint anchor = event->position().toPoint();
    if (m_setting) {
        m_pendingAnchor = anchor;
        m_setting->setPercent(target);
        m_pendingAnchor.reset();
    } else {
        setZoom(target, anchor);
    }
}
