#include "ui/map/image_box.h"

#include <QMouseEvent>
#include <QPainter>

ImageBox::ImageBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void ImageBox::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void ImageBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect r = event->rect();
    painter.fillRect(r, palette().color(QPalette::Window));
    painter.drawImage(r.topLeft(), m_image, r);
}

void ImageBox::mousePressEvent(QMouseEvent* event) { emit mousePressed(event); }
void ImageBox::mouseMoveEvent(QMouseEvent* event) { emit mouseMoved(event); }
