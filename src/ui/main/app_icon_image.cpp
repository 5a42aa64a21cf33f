#include "ui/main/app_icon_image.h"

#include <QLinearGradient>
#include <QPainter>

QImage kartolaIconImage(int size)
{
    size = qBound(1, size, 1024);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, size, 0);
    gradient.setColorAt(0, Qt::yellow);
    gradient.setColorAt(1, Qt::red);
    p.setBrush(gradient);
    p.setPen(QPen(Qt::black, qMax(1, size / 16)));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
    // A 2 x 2 grid of blocks, one of them grass.
    const double cell = size / 2.0 - size / 8.0;
    const double left = size / 8.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 160, 60));
    p.drawRect(QRectF(left, left, cell, cell));
    p.setBrush(QColor(70, 110, 220));
    p.drawRect(QRectF(left + cell, left + cell, cell, cell));
    p.setBrush(QColor(200, 170, 110));
    p.drawRect(QRectF(left + cell, left, cell, cell));
    p.drawRect(QRectF(left, left + cell, cell, cell));
    return image;
}
