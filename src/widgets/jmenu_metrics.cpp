#include "widgets/jmenu_metrics.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

int TJMenuMetrics::margin() const
{
    // 0.3 x cw to the nearest integer, halves up, in integers.
    return checkWidth <= 0 ? 0 : (3 * checkWidth + 5) / 10;
}

int TJMenuMetrics::textOffset(bool dropDown) const
{
    if (!dropDown)
        return margin() + 2;
    return showCheckMarks ? 2 * margin() + checkWidth : 2 * margin() + 2;
}

QRect TJMenuMetrics::checkRect(const QRect& item) const
{
    int x = item.left() + (textOffset(true) - checkWidth) / 2;
    int y = (item.top() + item.top() + item.height() - checkHeight) / 2;
    return QRect(x, y, checkWidth, checkHeight);
}

int TJMenuMetrics::textTop(const QRect& item, int lineHeight)
{
    return (item.top() + item.top() + item.height() - lineHeight) / 2;
}

QSize TJMenuMetrics::measure(const QFontMetrics& font, const QString& caption, bool dropDown,
                             bool separator, int reserved) const
{
    const QSize text = font.size(jmenuTextFlags(), caption);
    int width = text.width();
    if (dropDown) {
        width += 2 * margin();
        if (showCheckMarks)
            width += checkWidth;
    }
    width += qMax(0, reserved);
    int height;
    if (separator)
        height = qMax(font.size(jmenuTextFlags(), QStringLiteral("-")).height() / 2, 9);
    else
        height = qMax(baseHeight(), text.height());
    return QSize(width, height);
}

int jmenuTextFlags(bool underlineAccelerators)
{
    return Qt::TextSingleLine | Qt::TextExpandTabs
           | (underlineAccelerators ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
}

QString jmenuDropDownCaption(const QString& textAndShortcut)
{
    const qsizetype tab = textAndShortcut.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return textAndShortcut;
    QString shown = textAndShortcut;
    shown.insert(tab, QLatin1Char('\t'));
    return shown;
}

TJMenuColors jmenuItemColors(bool selected, bool enabled)
{
    if (!enabled)
        return {QColor(128, 128, 64), QColor(70, 70, 70)};
    if (selected)
        return {QColor(255, 128, 0), QColor(255, 255, 255)};
    return {QColor(255, 255, 0), QColor(0, 0, 0)};
}

TJMenuFrameColors jmenuFrameColors(TJMenuButtonStyle style)
{
    switch (style) {
    case TJMenuButtonStyle::Lowered:
        return {QColor(200, 80, 1), QColor(255, 200, 100)};
    case TJMenuButtonStyle::Raised:
        return {QColor(0, 0, 255), QColor(128, 0, 0)};
    case TJMenuButtonStyle::None:
        break;
    }
    return {};
}

void jmenuDrawFrame(QPainter& painter, const QRect& rect, const TJMenuFrameColors& colors)
{
    if (rect.width() < 1 || rect.height() < 1)
        return;
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    painter.fillRect(QRect(l, t, qMax(0, r - l), 1), colors.topLeft);
    painter.fillRect(QRect(l, t, 1, qMax(0, b - t)), colors.topLeft);
    painter.fillRect(QRect(r, t, 1, b - t + 1), colors.bottomRight);
    painter.fillRect(QRect(l, b, r - l + 1, 1), colors.bottomRight);
}

void jmenuDrawCheckMark(QPainter& painter, const QRect& box, bool radio, const QColor& color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (radio) {
        const int d = qMax(3, qMin(box.width(), box.height()) * 6 / 13);
        QRect dot(0, 0, d, d);
        dot.moveCenter(box.center());
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(dot);
    } else {
        // A tick as the Windows menu draws it: a short stroke down to the
        // lower third, then a long one up to the right.
        const double w = box.width(), h = box.height();
        QPolygon tick;
        tick << QPoint(box.left() + int(w * 0.23), box.top() + int(h * 0.46))
             << QPoint(box.left() + int(w * 0.42), box.top() + int(h * 0.66))
             << QPoint(box.left() + int(w * 0.77), box.top() + int(h * 0.28));
        QPen pen(color, qMax(1, box.width() / 6));
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setClipRect(box, Qt::IntersectClip);
        painter.drawPolyline(tick);
    }
    painter.restore();
}
