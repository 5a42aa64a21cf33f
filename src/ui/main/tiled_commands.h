#pragma once

#include <QObject>

#include <functional>

class EditorSession;
class JobRunner;
class QAction;
class QMenu;
class QWidget;
class TiledLink;

// File > Tiled > "Export to Tiled...", "Import from Tiled..." and "Import
// Folder from Tiled...", and Utilies > "Edit in Tiled". Export writes every
// map into a folder chosen, away from the window; an import is one undo entry
// (a folder: one for all its maps); Edit in Tiled starts the Tiled command of
// Preferences on the shown map and takes each save back. Without a command,
// Preferences opens.
class TiledCommands : public QObject {
    Q_OBJECT
public:
    TiledCommands(EditorSession& session, QMenu* file, QAction* before, QMenu* utilities, QWidget* window,
                  std::function<void()> openPreferences);
    // The export under way is stopped and waited for before the actions go.
    ~TiledCommands() override;

    void ExportToTiled1Click();
    void ImportFromTiled1Click();
    void ImportFolderFromTiled1Click();
    void EditInTiled1Click();
    // Waits for an export under way (Load Rom and closing the window).
    void finishRunning();

    QAction* ExportToTiled1 = nullptr;
    QAction* ImportFromTiled1 = nullptr;
    QAction* ImportFolderFromTiled1 = nullptr;
    QAction* EditInTiled1 = nullptr;
    TiledLink* link = nullptr;

private:
    void importFrom(const QString& fileOrFolder);

    EditorSession& m_session;
    JobRunner* m_export = nullptr;   // every map written away from the window
    QWidget* m_window;
    std::function<void()> m_openPreferences;
};
