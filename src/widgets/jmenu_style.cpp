#include "widgets/jmenu_style.h"

#include "widgets/jmenu.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace {

// The text a menu hands to its style for an action: the caption, and in a
// drop-down menu a tab and the shortcut.
QString optionText(QAction* action, bool dropDown)
{
    QString text = action->text();
    if (dropDown && !action->shortcut().isEmpty() && !text.contains(QLatin1Char('\t')))
        text += QLatin1Char('\t') + action->shortcut().toString(QKeySequence::NativeText);
    return text;
}

QAction* actionAt(const QWidget* widget, const QRect& rect)
{
    if (auto* menu = qobject_cast<const QMenu*>(widget))
        return menu->actionAt(rect.center());
    if (auto* bar = qobject_cast<const QMenuBar*>(widget))
        return bar->actionAt(rect.center());
    return nullptr;
}

// The action a size request is for. The request carries no action, only the
// text; of several actions with the same text the first one is taken.
QAction* actionWithText(const QWidget* widget, const QString& text, bool dropDown)
{
    if (!widget || text.isEmpty())
        return nullptr;
    const auto actions = widget->actions();
    for (QAction* action : actions)
        if (action->isVisible() && !action->isSeparator() && optionText(action, dropDown) == text)
            return action;
    return nullptr;
}

bool isItem(const QStyleOptionMenuItem* item)
{
    return item
           && (item->menuItemType == QStyleOptionMenuItem::Normal
               || item->menuItemType == QStyleOptionMenuItem::DefaultItem
               || item->menuItemType == QStyleOptionMenuItem::SubMenu
               || item->menuItemType == QStyleOptionMenuItem::Separator);
}

QFont menuFont(const QWidget* widget, bool dropDown)
{
    if (widget)
        return widget->font();
    return QApplication::font(dropDown ? "QMenu" : "QMenuBar");
}

} // namespace

TJMenuPainter::TJMenuPainter(const TJMenu& owner) : m_owner(owner) {}

TJMenuMetrics TJMenuPainter::metricsFor(const QWidget* widget) const
{
    QStyle* base = baseStyle();
    TJMenuMetrics metrics;
    metrics.checkWidth = qMax(1, base->pixelMetric(PM_IndicatorWidth, nullptr, widget));
    metrics.checkHeight = qMax(1, base->pixelMetric(PM_IndicatorHeight, nullptr, widget));
    metrics.showCheckMarks = m_owner.ShowCheckMarks();

    // The height of a single-line menu bar: the platform's menu-bar item for a
    // line of the bar's font, with the bar's margins and frame.
    const QWidget* bar = m_owner.menuBar();
    if (!bar)
        bar = widget;
    const QFontMetrics font(menuFont(bar, false));
    QStyleOptionMenuItem item;
    item.menuItemType = QStyleOptionMenuItem::Normal;
    item.text = QStringLiteral("Ay");
    item.font = menuFont(bar, false);
    item.fontMetrics = font;
    const QSize line(font.horizontalAdvance(item.text), font.height());
    const int itemHeight = base->sizeFromContents(CT_MenuBarItem, &item, line, bar).height();
    const int edges = base->pixelMetric(PM_MenuBarPanelWidth, nullptr, bar)
                      + base->pixelMetric(PM_MenuBarVMargin, nullptr, bar);
    metrics.barHeight = qMax(itemHeight, font.height()) + 2 * qMax(0, edges);
    return metrics;
}

TJMenuPainter::ItemImage TJMenuPainter::itemImage(QAction* action, const QWidget* widget) const
{
    if (!action)
        return {};
    if (m_owner.OnGetImageIndex) {
        const int index = m_owner.OnGetImageIndex(action);
        const auto images = m_owner.Images();
        if (index >= 0 && index < images.size() && !images[index].isNull())
            return {images[index], m_owner.ImageSize()};
    }
    if (action->icon().isNull())
        return {};
    // The item's own glyph, at the platform's small icon size.
    const int side = baseStyle()->pixelMetric(PM_SmallIconSize, nullptr, widget);
    return {action->icon(), QSize(side, side)};
}

int TJMenuPainter::reservedWidth(const ItemImage& image, const TJMenuMetrics& metrics) const
{
    const int room = image.icon.isNull() ? 0 : image.size.width() + metrics.margin();
    return qMax(m_owner.MinTextOffset(), room);
}

QSize TJMenuPainter::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if ((type != CT_MenuItem && type != CT_MenuBarItem) || !isItem(item))
        return QProxyStyle::sizeFromContents(type, option, size, widget);

    const bool dropDown = type == CT_MenuItem;
    const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    const TJMenuMetrics metrics = metricsFor(widget);
    const QFontMetrics font(menuFont(widget, dropDown));
    QAction* action = separator ? nullptr : actionWithText(widget, item->text, dropDown);
    const ItemImage image = itemImage(action, widget);
    const QString caption = separator ? QString() : dropDown ? jmenuDropDownCaption(item->text)
                                                             : item->text;
    QSize measured = metrics.measure(font, caption, dropDown, separator,
                                     separator ? 0 : reservedWidth(image, metrics));
    if (m_owner.OnMeasureItem && action)
        m_owner.OnMeasureItem(action, measured);
    // The platform gives every measured item the room of two average
    // characters more, as the Windows menu does; a submenu's arrow sits there.
    if (!separator)
        measured.rwidth() += 2 * font.averageCharWidth();
    return measured;
}

int TJMenuPainter::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const
{
    // Disabled items are highlighted under the pointer too (and keep their
    // disabled colours), as in the Windows menu.
    if (hint == SH_Menu_AllowActiveAndDisabled)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void TJMenuPainter::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if ((element == CE_MenuItem || element == CE_MenuBarItem) && isItem(item) && painter) {
        drawItem(*item, *painter, widget, element == CE_MenuItem);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void TJMenuPainter::drawItem(const QStyleOptionMenuItem& option, QPainter& painter,
                             const QWidget* widget, bool dropDown) const
{
    const QRect rect = option.rect;
    QAction* action = actionAt(widget, rect);
    const TJMenuMetrics metrics = metricsFor(widget);

    TJMenuItemParams params;
    params.dropDown = dropDown;
    params.selected = option.state & State_Selected;
    params.enabled = option.state & State_Enabled;
    const TJMenuColors colors = jmenuItemColors(params.selected, params.enabled);
    params.background = colors.background;
    params.text = colors.text;
    params.font = menuFont(widget, dropDown);
    if (m_owner.OnGetItemParams && action)
        m_owner.OnGetItemParams(action, params);

    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(params.font);
    if (m_owner.OnDrawItem && action && m_owner.OnDrawItem(action, painter, rect, params)) {
        painter.restore();
        return;
    }

    painter.fillRect(rect, params.background);
    if (option.menuItemType == QStyleOptionMenuItem::Separator) {
        const int m = metrics.margin();
        painter.fillRect(QRect(rect.left() + m, rect.top() + rect.height() / 2,
                               qMax(0, rect.width() - 2 * m), 1),
                         params.text);
        painter.restore();
        return;
    }
    if (params.selected && m_owner.buttonStyle() != TJMenuButtonStyle::None)
        jmenuDrawFrame(painter, rect, jmenuFrameColors(m_owner.buttonStyle()));

    const int f = metrics.textOffset(dropDown);
    if (dropDown && option.checked && metrics.showCheckMarks)
        jmenuDrawCheckMark(painter, metrics.checkRect(rect),
                           option.checkType == QStyleOptionMenuItem::Exclusive, params.text);

    const ItemImage image = itemImage(action, widget);
    if (!image.icon.isNull()) {
        const QRect box(rect.left() + f, TJMenuMetrics::textTop(rect, image.size.height()),
                        image.size.width(), image.size.height());
        image.icon.paint(&painter, box, Qt::AlignCenter, params.enabled ? QIcon::Normal : QIcon::Disabled,
                    option.checked ? QIcon::On : QIcon::Off);
    }

    const int flags = jmenuTextFlags(styleHint(SH_UnderlineShortcut, &option, widget));
    const QFontMetrics font(params.font);
    const int lineHeight = font.size(flags, QStringLiteral("Ay")).height();
    const int x = rect.left() + f + reservedWidth(image, metrics);
    const QString caption = dropDown ? jmenuDropDownCaption(option.text) : option.text;
    painter.setPen(params.text);
    painter.drawText(QRect(x, TJMenuMetrics::textTop(rect, lineHeight), qMax(0, rect.right() + 1 - x),
                           lineHeight),
                     flags | Qt::AlignLeft | Qt::AlignTop, caption);

    if (dropDown && option.menuItemType == QStyleOptionMenuItem::SubMenu) {
        const int h = qMax(5, (font.ascent() / 2) | 1);
        const int right = rect.right() - metrics.margin();
        const int top = TJMenuMetrics::textTop(rect, h);
        QPolygon arrow;
        arrow << QPoint(right - h / 2, top) << QPoint(right, top + h / 2)
              << QPoint(right - h / 2, top + h - 1);
        painter.setPen(Qt::NoPen);
        painter.setBrush(params.text);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawPolygon(arrow);
    }
    painter.restore();
}
