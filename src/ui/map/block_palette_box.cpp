#include "ui/map/block_palette_box.h"

#include "model/map/block_pictures.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
constexpr int Row = BlockPictures::BlockPixels;
}

void BlockPaletteBox::setSelectedRow(int row)
{
    if (row == m_selectedRow)
        return;
    const QRect before = frameRect();
    m_selectedRow = row;
    update(before);
    update(frameRect());
}

QRect BlockPaletteBox::frameRect() const
{
    if (m_selectedRow < 0 || m_selectedRow >= BlockPlaces)
        return QRect();
    return QRect(0, Row * m_selectedRow, Row, Row);
}

void BlockPaletteBox::paintEvent(QPaintEvent* event)
{
    ImageBox::paintEvent(event);
    const QRect frame = frameRect();
    if (frame.isEmpty() || !event->rect().intersects(frame))
        return;
    QPainter painter(this);
    // Dark edge, 2 pixels of colour, dark edge: 4 pixels on the row's outermost pixels.
    const auto outline = [&](int inset, QRgb colour) {
        const QRect r = frame.adjusted(inset, inset, -inset, -inset);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), QColor::fromRgb(colour));
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor::fromRgb(colour));
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), QColor::fromRgb(colour));
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), QColor::fromRgb(colour));
    };
    outline(0, EdgeColour);
    outline(1, FrameColour);
    outline(2, FrameColour);
    outline(3, EdgeColour);
}
