#include "ui/map/map_view.h"

#include "model/map/block_pictures.h"
#include "model/map/map_renderer.h"

#include <QPaintEvent>
#include <QPainter>

MapView::MapView(const MapRenderer& renderer, QWidget* parent)
    : ZoomView(BlockPictures::BlockPixels, Rounding::Down, parent), m_renderer(renderer)
{
    mapChanged();
}

void MapView::mapChanged()
{
    if (m_renderer.columns() == 0)
        setContentSize(DesignSize.width(), DesignSize.height());
    else
        setContentSize(m_renderer.viewWidth(100), m_renderer.viewHeight(100));
    update();
}

void MapView::updateCell(int column, int row)
{
    update(unitRect(column, row));
}

void MapView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QRect map(0, 0, int(qMin<qint64>(m_renderer.viewWidth(zoom()), width())),
                    int(qMin<qint64>(m_renderer.viewHeight(zoom()), height())));
    // The map covers what it shows; only what lies beyond it is cleared.
    if (!map.contains(exposed))
        painter.fillRect(exposed, Qt::black);
    m_renderer.draw(painter, exposed & map, zoom());
}
