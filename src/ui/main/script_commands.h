#pragma once

#include "session/editor_session.h"
#include "session/whole_image_change.h"

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class ScriptJob;
class ScriptOutputPanel;
class ScriptArgumentsDialog;
class ScriptConsole;
class UserSettings;
struct ScriptResult;

// Utilies > "Run Script..." and the "Scripts" submenu (the .js files of the
// user's scripts folder and of the catalogue folder's scripts/, listed when
// it opens), with the "Script Output" panel. A script runs on the image as
// the pick's question leaves it, away from the window's thread; one that
// finishes with a changed image becomes one undo entry "Run Script NAME".
// One script runs at a time: the items are disabled meanwhile.
class ScriptCommands : public QObject {
    Q_OBJECT
public:
    // Puts the items at the end of `utilities` and the panel (hidden) into
    // `window`; they are enabled once a ROM image is loaded.
    ScriptCommands(EditorSession& session, QMenu* utilities, QMainWindow* window, QObject* parent = nullptr);
    ~ScriptCommands() override;

    void RunScript1Click();
    // Runs the script in `path`, as a pick from the menus does: a script
    // that declares arguments asks them first (the values given last filled
    // in, when `settings` keeps them).
    void run(const QString& path);
    // Stops a running script and waits for it; its result is dropped
    // (Load Rom and closing the window come here first).
    void stopAndWait();
    bool isRunning() const;

    // ~/.local/share/Kartola/scripts on Linux.
    static QString userScriptsFolder();
    static const QString ScriptFilter;
    // How long a script of the menus may run.
    int timeoutMs;

    QAction* RunScript1 = nullptr;
    QMenu* Scripts1 = nullptr;
    ScriptOutputPanel* panel = nullptr;
    ScriptJob* job = nullptr;
    ScriptArgumentsDialog* arguments = nullptr;
    ScriptConsole* console = nullptr;   // View > Script Console
    UserSettings* settings = nullptr;

private:
    void fillScripts();
    // The catalogue folder's scripts/, where the example scripts are.
    QString catalogueScriptsFolder() const;
    // The folder Run Script's file dialog opens in.
    QString dialogFolder() const;
    // Runs `source` of `path` with the arguments `values`.
    void start(const QString& path, const QString& source, const QStringList& values);
    void finished(const ScriptResult& result);
    void updateActions();

    EditorSession& m_session;
    bool m_romLoaded = false;
    // The run under way: what it started from, its name, and whether its
    // result is still wanted.
    WholeImageChange::Start m_start;
    QString m_name;
    bool m_dropResult = false;
    QString m_lastFolder;   // of the script Run Script ran last
    QString m_askedPath, m_askedSource;   // the script whose arguments are asked
};
