#include "ui/map/map_view.h"

#include "model/map/block_pictures.h"
#include "model/map/map_renderer.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

MapView::MapView(const MapRenderer& renderer, QWidget* parent)
    : ZoomView(BlockPictures::BlockPixels, Rounding::Down, parent), m_renderer(renderer)
{
    setFocusPolicy(Qt::StrongFocus);
    mapChanged();
}

void MapView::leaveEvent(QEvent* event)
{
    ZoomView::leaveEvent(event);
    emit pointerLeft();
}

void MapView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space) {
        ZoomView::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && !m_spaceHeld) {
        m_spaceHeld = true;
        setCursor(Qt::OpenHandCursor);
    }
    event->accept();
}

void MapView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        ZoomView::keyReleaseEvent(event);
        return;
    }
    m_spaceHeld = false;
    if (!m_panning)
        setCursor(Qt::DragMoveCursor);
    event->accept();
}

void MapView::focusOutEvent(QFocusEvent* event)
{
    // A release of Space elsewhere never reaches the view.
    m_spaceHeld = false;
    if (!m_panning)
        setCursor(Qt::DragMoveCursor);
    // The view shows no focus: a whole map is not drawn again for it.
    event->accept();
}

void MapView::focusInEvent(QFocusEvent* event)
{
    event->accept();
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    m_pressModifiers = event->modifiers();
    if (m_spaceHeld && event->button() == Qt::LeftButton) {
        QScrollArea* area = scrollArea();
        m_panning = area != nullptr;
        if (area) {
            m_panFrom = event->globalPosition().toPoint();
            m_panScroll = QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
            setCursor(Qt::ClosedHandCursor);
        }
        return;
    }
    ZoomView::mousePressEvent(event);
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_panning) {
        ZoomView::mouseMoveEvent(event);
        return;
    }
    if (QScrollArea* area = scrollArea()) {
        // The map follows the pointer: dragging right shows what lies left.
        const QPoint moved = event->globalPosition().toPoint() - m_panFrom;
        area->horizontalScrollBar()->setValue(m_panScroll.x() - moved.x());
        area->verticalScrollBar()->setValue(m_panScroll.y() - moved.y());
    }
}

void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_panning && event->button() == Qt::LeftButton) {
        m_panning = false;
        setCursor(m_spaceHeld ? Qt::OpenHandCursor : Qt::DragMoveCursor);
        return;
    }
    ZoomView::mouseReleaseEvent(event);
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
    drawPreview(painter, exposed & map);
    drawOutline(painter, exposed & map);
    drawFrame(painter);
}

QRect MapView::cellsRect(const QRect& cells) const
{
    const int side = unitPixels();
    return QRect(cells.x() * side, cells.y() * side, cells.width() * side, cells.height() * side);
}

void MapView::setFrame(const QRect& cells)
{
    const QRect wanted = cells.normalized();
    if (wanted == m_frame)
        return;
    // Only the frames' edges change on the screen.
    for (const QRect& cellRect : {m_frame, wanted}) {
        if (cellRect.isEmpty())
            continue;
        const QRect r = cellsRect(cellRect);
        update(QRect(r.left(), r.top(), r.width(), 2));
        update(QRect(r.left(), r.bottom() - 1, r.width(), 2));
        update(QRect(r.left(), r.top(), 2, r.height()));
        update(QRect(r.right() - 1, r.top(), 2, r.height()));
    }
    m_frame = wanted;
}

QRect MapView::previewCells() const
{
    if (m_preview.isEmpty())
        return {};
    return QRect(m_previewAt, QSize(m_preview.width, m_preview.height));
}

void MapView::setPreview(const BlockRegion& region, QPoint at, const BlockPictures* pictures, int tileset)
{
    const QRect old = previewCells();
    if (region == m_preview && at == m_previewAt && pictures == m_pictures && tileset == m_tileset)
        return;
    m_preview = region;
    m_previewAt = at;
    m_pictures = pictures;
    m_tileset = tileset;
    // The old and the new place, nothing else.
    if (!old.isEmpty())
        update(cellsRect(old));
    if (!m_preview.isEmpty())
        update(cellsRect(previewCells()));
}

void MapView::clearPreview()
{
    setPreview(BlockRegion{}, QPoint(), m_pictures, m_tileset);
}

void MapView::drawPreview(QPainter& painter, const QRect& exposed) const
{
    if (m_preview.isEmpty() || !m_pictures)
        return;
    const QRect on = previewCells() & QRect(0, 0, m_renderer.columns(), m_renderer.rows());
    if (on.isEmpty() || !cellsRect(on).intersects(exposed))
        return;
    painter.save();
    painter.setOpacity(0.5);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int y = on.top(); y <= on.bottom(); ++y) {
        for (int x = on.left(); x <= on.right(); ++x) {
            const QRect target = unitRect(x, y);
            if (!target.intersects(exposed) || !m_preview.has(x - m_previewAt.x(), y - m_previewAt.y()))
                continue;
            const int block = m_preview.at(x - m_previewAt.x(), y - m_previewAt.y());
            const QImage& picture = m_pictures->picture(m_tileset, block - 1);
            if (picture.isNull())
                painter.fillRect(target, Qt::black);
            else
                painter.drawImage(target, picture);
        }
    }
    painter.restore();
}

void MapView::drawFrame(QPainter& painter) const
{
    if (m_frame.isEmpty())
        return;
    // Black under white dashes: seen on any block, one pixel wide at any zoom.
    const QRect r = cellsRect(m_frame).adjusted(0, 0, -1, -1);
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(r);
    painter.setPen(QPen(Qt::white, 0, Qt::DashLine));
    painter.drawRect(r);
    painter.restore();
}

void MapView::setOutline(const CellMask& cells)
{
    if (cells == m_outline)
        return;
    // The old and the new shape's bounds, nothing else.
    for (const QRect& bounds : {m_outline.bounds(), cells.bounds()})
        if (!bounds.isEmpty())
            update(cellsRect(bounds));
    m_outline = cells;
}

void MapView::drawOutline(QPainter& painter, const QRect& exposed) const
{
    if (m_outline.isEmpty() || exposed.isEmpty())
        return;
    // Only the cells the exposed area touches: the cost follows what is shown.
    const int side = unitPixels();
    const QRect cells = QRect(QPoint(exposed.left() / side, exposed.top() / side),
                              QPoint(exposed.right() / side, exposed.bottom() / side)) & m_outline.bounds();
    if (cells.isEmpty())
        return;
    QVector<QLine> edges;
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            if (!m_outline.contains(QPoint(x, y)))
                continue;
            // An edge where the neighbour is not selected, on the cell's own
            // first or last row or column of pixels (right() and bottom() of
            // the cell's rectangle are its last pixels).
            const QRect r = unitRect(x, y);
            if (!m_outline.contains(QPoint(x, y - 1)))
                edges.append(QLine(r.topLeft(), r.topRight()));
            if (!m_outline.contains(QPoint(x, y + 1)))
                edges.append(QLine(r.bottomLeft(), r.bottomRight()));
            if (!m_outline.contains(QPoint(x - 1, y)))
                edges.append(QLine(r.topLeft(), r.bottomLeft()));
            if (!m_outline.contains(QPoint(x + 1, y)))
                edges.append(QLine(r.topRight(), r.bottomRight()));
        }
    }
    painter.save();
    painter.setClipRect(exposed);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLines(edges);
    painter.setPen(QPen(Qt::white, 0, Qt::DashLine));
    painter.drawLines(edges);
    painter.restore();
}
