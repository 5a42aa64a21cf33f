#pragma once

#include "widgets/jmenu_metrics.h"

#include <QIcon>
#include <QProxyStyle>

class QAction;
class QStyleOptionMenuItem;
class TJMenu;

// The style a TJMenu puts on its menu bar and drop-down menus while it draws
// them itself: it measures and paints the menu items and leaves everything
// else (frames, empty areas, scrollers) to the platform's style.
class TJMenuPainter : public QProxyStyle {
    Q_OBJECT
public:
    explicit TJMenuPainter(const TJMenu& owner);

    // The platform measures for the menu bar or one of its menus.
    TJMenuMetrics metricsFor(const QWidget* widget) const;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    void drawItem(const QStyleOptionMenuItem& option, QPainter& painter, const QWidget* widget,
                  bool dropDown) const;
    struct ItemImage {
        QIcon icon;
        QSize size;
    };
    ItemImage itemImage(QAction* action, const QWidget* widget) const;
    int reservedWidth(const ItemImage& image, const TJMenuMetrics& metrics) const;

    const TJMenu& m_owner;
};
