#include "ui/main/menu_bar_key.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {

// Gives the keyboard back when the menus are left with Escape: a menu opened
// with the mouse closes at once, and the bar walked with the keyboard lets
// go on its own Escape; both return to the widget that had the keyboard
// before, as desktop menus do.
class MenuBarEscape : public QObject {
public:
    explicit MenuBarEscape(QMenuBar* bar) : QObject(bar), m_bar(bar)
    {
        bar->installEventFilter(this);
        for (QAction* action : bar->actions())
            watch(action->menu());
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (now == m_bar && old && old != m_bar && !qobject_cast<QMenu*>(old->window()))
                m_before = old;
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_bar && event->type() == QEvent::ActionAdded) {
            watch(static_cast<QActionEvent*>(event)->action()->menu());
            return false;
        }
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        if (watched == m_bar) {
            // The bar walked with the keyboard, no menu open: back to where the user was.
            if (QApplication::activePopupWidget() || !m_bar->hasFocus() || !canTakeKeyboard(m_before))
                return false;
            m_bar->setActiveAction(nullptr);
            m_before->setFocus(Qt::MenuBarFocusReason);
            return true;
        }
        auto* menu = qobject_cast<QMenu*>(watched);
        if (!menu || m_bar->hasFocus() || !m_bar->actions().contains(menu->menuAction()))
            return false;
        // Opened with the mouse: the keyboard never left its widget; the
        // menu closes and the bar is not left waiting for keys.
        menu->close();
        return true;
    }

private:
    void watch(QMenu* menu)
    {
        if (menu && !m_menus.contains(menu)) {
            m_menus.append(menu);
            menu->installEventFilter(this);
        }
    }
    static bool canTakeKeyboard(const QWidget* widget)
    {
        return widget && widget->isVisible() && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus;
    }

    QMenuBar* m_bar;
    QList<QPointer<QMenu>> m_menus;
    QPointer<QWidget> m_before;   // had the keyboard before the bar took it
};

} // namespace

void addMenuBarKey(QMainWindow* window)
{
    new MenuBarEscape(window->menuBar());
    auto* open = new QAction(window);
    open->setObjectName(QStringLiteral("OpenMenuBar1"));
    open->setShortcut(Qt::Key_F10);
    open->setShortcutContext(Qt::WindowShortcut);
    window->addAction(open);
    QObject::connect(open, &QAction::triggered, window, [window] {
        QMenuBar* bar = window->menuBar();
        for (QAction* first : bar->actions()) {
            if (first->isVisible() && first->isEnabled() && first->menu()) {
                bar->setFocus(Qt::MenuBarFocusReason);
                bar->setActiveAction(first);
                return;
            }
        }
    });
}
