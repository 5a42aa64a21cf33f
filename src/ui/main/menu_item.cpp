#include "ui/main/menu_item.h"

#include <QAction>
#include <QMenu>

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                     const QKeySequence& keys, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setStatusTip(hint);
    action->setShortcut(keys);
    action->setEnabled(enabled);
    return action;
}
