#include "widgets/drawing_surface.h"

#include <QMouseEvent>
#include <QPainter>

DrawingSurface::DrawingSurface(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void DrawingSurface::setSurfaceSize(const QSize& size)
{
    setFixedSize(size);
    if (m_surface.size() != size)
        recreate(size);
}

void DrawingSurface::recreate(const QSize& size)
{
    m_surface = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    m_surface.fill(Qt::black);
    emit surfaceCreated();
}

void DrawingSurface::present(const QRect& rect)
{
    if (rect.isEmpty())
        update();
    else
        update(rect);
}

void DrawingSurface::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect r = event->rect();
    painter.fillRect(r, palette().color(QPalette::Window));
    painter.drawImage(r.topLeft(), m_surface, r);
}

void DrawingSurface::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_surface.size() != event->size())
        recreate(event->size());
}

void DrawingSurface::mousePressEvent(QMouseEvent* event) { emit mousePressed(event); }
void DrawingSurface::mouseMoveEvent(QMouseEvent* event) { emit mouseMoved(event); }
void DrawingSurface::mouseReleaseEvent(QMouseEvent* event) { emit mouseReleased(event); }
