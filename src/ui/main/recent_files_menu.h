#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class UserSettings;

// File > Open Recent: the last ROM files, the latest first, those that are
// gone shown disabled, and Clear Recent. Filled afresh each time it opens.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    using Open = std::function<void(const QString& path)>;
    // Inserts the submenu into `file` before `before`.
    RecentFilesMenu(QMenu* file, QAction* before, UserSettings& settings, Open open, QObject* parent = nullptr);

    // Lists the files as the settings hold them now.
    void fill();

    QMenu* OpenRecent1 = nullptr;
    QAction* ClearRecent1 = nullptr;

private:
    UserSettings& m_settings;
    Open m_open;
};
