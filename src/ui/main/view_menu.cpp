#include "ui/main/view_menu.h"

#include "ui/main/menu_bar_order.h"
#include "base/view_zoom.h"
#include "widgets/zoom_setting.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

ViewMenu::ViewMenu(QMenuBar* bar, QAction* after, ZoomSetting& zoom, QObject* parent)
    : QObject(parent), m_zoom(zoom)
{
    View1 = new QMenu(QStringLiteral("View"), bar);
    View1->setObjectName(QStringLiteral("View1"));
    // Inserted before whatever follows `after`.
    insertMenuAfter(bar, after, View1);

    const auto item = [this](const char* name, const QString& caption, const QString& hint) {
        QAction* action = View1->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setStatusTip(hint);
        return action;
    };
    ZoomIn1 = item("ZoomIn1", QStringLiteral("Zoom In"), QStringLiteral("Shows the map larger."));
    ZoomOut1 = item("ZoomOut1", QStringLiteral("Zoom Out"), QStringLiteral("Shows more of the map."));
    ActualSize1 = item("ActualSize1", QStringLiteral("Actual Size"), QStringLiteral("Shows the map at 100 %."));
    ZoomIn1->setShortcut(QKeySequence::ZoomIn);
    ZoomOut1->setShortcut(QKeySequence::ZoomOut);
    ActualSize1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    View1->addSeparator();

    auto* group = new QActionGroup(this);
    for (size_t i = 0; i < levels.size(); ++i) {
        const int percent = ViewZoom::Levels[i];
        QAction* level = View1->addAction(QStringLiteral("%1 %").arg(percent));
        level->setObjectName(QStringLiteral("Zoom%1_1").arg(percent));
        level->setStatusTip(QStringLiteral("Shows the map at %1 %.").arg(percent));
        level->setCheckable(true);
        group->addAction(level);
        connect(level, &QAction::triggered, this, [this, percent] { m_zoom.setPercent(percent); });
        levels[i] = level;
    }
    connect(ZoomIn1, &QAction::triggered, &zoom, &ZoomSetting::zoomIn);
    connect(ZoomOut1, &QAction::triggered, &zoom, &ZoomSetting::zoomOut);
    connect(ActualSize1, &QAction::triggered, &zoom, &ZoomSetting::actualSize);
    connect(&zoom, &ZoomSetting::changed, this, &ViewMenu::showZoom);
    showZoom(zoom.percent());
}

void ViewMenu::showZoom(int percent)
{
    for (size_t i = 0; i < levels.size(); ++i)
        levels[i]->setChecked(ViewZoom::Levels[i] == percent);
    ZoomIn1->setEnabled(percent < ViewZoom::Levels.back());
    ZoomOut1->setEnabled(percent > ViewZoom::Levels.front());
}
