#pragma once

#include "widgets/jmenu_metrics.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <functional>
#include <memory>

class QAction;
class QKeyEvent;
class QMenu;
class QPainter;
class QStyle;
class TJMenuLetterGuard;
class TJMenuPainter;

// What an item is drawn with; OnGetItemParams may change the colours and font.
struct TJMenuItemParams {
    bool dropDown = true;
    bool selected = false;
    bool enabled = true;
    QColor background;
    QColor text;
    QFont font;
};

// Draws a menu bar and all its drop-down menus in the editor's own colours.
class TJMenu : public QObject {
    Q_OBJECT
public:
    enum TJMenuStyle { msStandard, msOwnerDraw, msBtnLowered, msBtnRaised };
    Q_ENUM(TJMenuStyle)

    explicit TJMenu(QMenuBar* menuBar, QObject* parent = nullptr);
    ~TJMenu() override;

    TJMenuStyle Style() const { return m_style; }
    void setStyle(TJMenuStyle style);

    // Draw the check mark of a checked drop-down item.
    bool ShowCheckMarks() const { return m_showCheckMarks; }
    void setShowCheckMarks(bool show);

    // Least room kept left of an item's caption for an image.
    int MinTextOffset() const { return m_minTextOffset; }
    void setMinTextOffset(int offset);

    // Item images, drawn at ImageSize; OnGetImageIndex picks an item's image.
    QList<QIcon> Images() const { return m_images; }
    void setImages(const QList<QIcon>& images);
    QSize ImageSize() const { return m_imageSize; }

    // Hooks for a user of the menu; all empty by default.
    // The index into Images of the item's image, -1 for none.
    std::function<int(QAction* item)> OnGetImageIndex;
    // May change the measured size of an item.
    std::function<void(QAction* item, QSize& size)> OnMeasureItem;
    // May change the colours and font an item is drawn with.
    std::function<void(QAction* item, TJMenuItemParams& params)> OnGetItemParams;
    // Draws an item itself; returns false to leave it to the menu.
    std::function<bool(QAction* item, QPainter& painter, const QRect& rect,
                       const TJMenuItemParams& params)>
        OnDrawItem;

    // Measures and repaints every item again, e.g. after a hook changed its answers.
    void refresh() { relayout(); }

    QMenuBar* menuBar() const { return m_menuBar; }
    // Whether the items are drawn by this menu rather than by the platform.
    bool isOwnerDrawn() const { return m_ownerDrawn; }
    TJMenuButtonStyle buttonStyle() const;
    // The measures items of `widget` (the menu bar or one of its menus) are laid
    // out with; meaningful while the menu is owner-drawn.
    TJMenuMetrics metricsFor(const QWidget* widget) const;
    // Whether letter keys belong to this menu now: one of its drop-down
    // menus is open, or the bar has the keyboard. Shortcuts never take them then.
    bool hasKeyboard() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Attached {
        QPointer<QWidget> widget;
        QPointer<QStyle> previousStyle;
    };

    void updateOwnerDraw();
    void attachAll();
    void detachAll();
    void attach(QWidget* widget);
    void adoptMenu(QMenu* menu);
    void adoptSubmenus(QWidget* widget);
    bool isAttached(const QWidget* widget) const;
    void relayout();
    bool menuCharacter(QMenu* menu, QKeyEvent* event);

    QPointer<QMenuBar> m_menuBar;
    TJMenuStyle m_style = msStandard;
    bool m_showCheckMarks = true;
    int m_minTextOffset = 0;
    QList<QIcon> m_images;
    QSize m_imageSize{16, 16};
    bool m_ownerDrawn = false;
    bool m_barWasNative = false;
    std::unique_ptr<TJMenuPainter> m_painter;
    TJMenuLetterGuard* m_letterGuard = nullptr;   // a child, watching the application's events
    QList<Attached> m_attached;
};
