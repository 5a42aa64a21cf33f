#include "widgets/gradient_panel.h"

#include "base/mul_div.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>

TgradientPanel::TgradientPanel(QWidget* parent)
    : QWidget(parent)
    , m_begin(palette().color(QPalette::Dark))
    , m_end(QColor(192, 192, 192))
{
    resize(377, 121);
}

void TgradientPanel::setBeginColor(const QColor& color)
{
    if (color == m_begin)
        return;
    m_begin = color;
    update();
}

void TgradientPanel::setEndColor(const QColor& color)
{
    if (color == m_end)
        return;
    m_end = color;
    update();
}

void TgradientPanel::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

std::array<QColor, 256> TgradientPanel::bandColors() const
{
    std::array<QColor, 256> colors;
    const QRgb b = m_begin.rgb(), e = m_end.rgb();
    auto channel = [](int begin, int end, int k) {
        return (begin + MulDiv(k, end - begin, BandCount - 1)) & 0xFF;
    };
    for (int k = 0; k < 256; ++k)
        colors[size_t(k)] = QColor(channel(qRed(b), qRed(e), k), channel(qGreen(b), qGreen(e), k),
                                   channel(qBlue(b), qBlue(e), k));
    return colors;
}

int TgradientPanel::bandLeft(int k, int width)
{
    return MulDiv(k, width, BandCount);
}

QImage TgradientPanel::render() const
{
    QImage image(qMax(1, width()), qMax(1, height()), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    const auto colors = bandColors();
    for (int k = 0; k < BandCount; ++k) {
        int left = bandLeft(k, width()), right = bandLeft(k + 1, width());
        if (right > left)
            painter.fillRect(QRect(left, 0, right - left, height()), colors[size_t(k)]);
    }
    if (!m_caption.isEmpty()) {
        painter.setFont(font());
        QFontMetrics metrics(font());
        int h = metrics.boundingRect(QLatin1Char('W')).height();
        painter.drawText(QPoint(4, (height() - h) / 2 + metrics.ascent()), m_caption);
    }
    return image;
}

void TgradientPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, render());
}
