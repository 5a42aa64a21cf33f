#include "model/events/event_icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace {

QImage paintIcon(QChar letter, QColor from, QColor to, QColor ink)
{
    QImage image(EventIcons::Size, EventIcons::Size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, EventIcons::Size, EventIcons::Size);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    p.fillRect(image.rect(), gradient);
    QFont font;
    font.setBold(true);
    font.setPixelSize(24);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(image.rect(), Qt::AlignCenter, QString(letter));
    p.end();
    // The icons are 256-colour pictures.
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

EventIcons::EventIcons()
{
    m_icons[0] = paintIcon(QLatin1Char('W'), QColor(0, 255, 255), QColor(143, 0, 255), QColor(0, 0, 255));
    m_icons[1] = paintIcon(QLatin1Char('S'), QColor(255, 255, 0), QColor(255, 140, 0), QColor(255, 0, 0));
    m_icons[2] = paintIcon(QLatin1Char('P'), QColor(0, 200, 0), QColor(0, 255, 255), QColor(255, 255, 0));
}
