#include "ui/main/menu_bar_key.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

void addMenuBarKey(QMainWindow* window)
{
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
