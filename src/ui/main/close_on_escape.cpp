#include "ui/main/close_on_escape.h"

#include <QAction>
#include <QWidget>

void closeOnEscape(QWidget* window)
{
    auto* close = new QAction(window);
    close->setObjectName(QStringLiteral("CloseOnEscape"));
    close->setShortcut(Qt::Key_Escape);
    close->setShortcutContext(Qt::WindowShortcut);
    window->addAction(close);
    QObject::connect(close, &QAction::triggered, window, &QWidget::close);
}
