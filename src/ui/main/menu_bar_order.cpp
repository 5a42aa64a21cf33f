#include "ui/main/menu_bar_order.h"

#include <QMenu>
#include <QMenuBar>

void insertMenuAfter(QMenuBar* bar, QAction* after, QMenu* menu)
{
    const QList<QAction*> items = bar->actions();
    const qsizetype at = after ? items.indexOf(after) : -1;
    if (at >= 0 && at + 1 < items.size())
        bar->insertMenu(items[at + 1], menu);
    else
        bar->addMenu(menu);
}
