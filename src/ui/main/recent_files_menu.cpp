#include "ui/main/recent_files_menu.h"

#include "session/user_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(QMenu* file, QAction* before, UserSettings& settings, Open open, QObject* parent)
    : QObject(parent), m_settings(settings), m_open(std::move(open))
{
    OpenRecent1 = new QMenu(QStringLiteral("Open Recent"), file);
    OpenRecent1->setObjectName(QStringLiteral("OpenRecent1"));
    OpenRecent1->menuAction()->setStatusTip(QStringLiteral("Open one of the last ROM files."));
    file->insertMenu(before, OpenRecent1);
    ClearRecent1 = new QAction(QStringLiteral("Clear Recent"), this);
    ClearRecent1->setObjectName(QStringLiteral("ClearRecent1"));
    ClearRecent1->setStatusTip(QStringLiteral("Forget the last ROM files."));
    connect(ClearRecent1, &QAction::triggered, this, [this] {
        m_settings.clearRecentFiles();
        fill();
    });
    connect(OpenRecent1, &QMenu::aboutToShow, this, &RecentFilesMenu::fill);
    fill();
}

void RecentFilesMenu::fill()
{
    OpenRecent1->clear();
    const QStringList files = m_settings.recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        // &1 to &9, then &0 for the tenth.
        const QString caption = QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(QDir::toNativeSeparators(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
        QAction* action = OpenRecent1->addAction(caption);
        action->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        action->setEnabled(QFileInfo(path).isFile());
        connect(action, &QAction::triggered, this, [this, path] { m_open(path); });
    }
    OpenRecent1->addSeparator();
    OpenRecent1->addAction(ClearRecent1);
    ClearRecent1->setEnabled(!files.isEmpty());
}
