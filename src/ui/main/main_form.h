#pragma once

#include "session/editor_state.h"

#include <QMainWindow>
#include <memory>

class EditorSession;
class EventsEditor;
class FindUsesWindow;
class GoToMapWindow;
class OverviewPanel;
class MapFileCommands;
class MapPage;
class PatchCommands;
class TiledCommands;
class Prompts;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QTabWidget;
class StartMenuOptions;
class TCatalogueCheckForm;
class TPreferencesForm;
class RecentFilesMenu;
class ScriptCommands;
class TestPlay;
class UserSettings;
class TBlockEditorForm;
class TJMenu;
class TRomOptionsForm;
class ToolsMenu;
class TgradientPanel;
class ViewMenu;
class ZoomSetting;
class WildCrittersPage;

// The main window: menus, the category and map choosers on the title strip,
// the notebook with the Map, Events and Wild Critters pages, the progress bar
// and the two-panel status bar. Creating it also creates the secondary windows.
class CatalogueMenu;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Without `settings` the window remembers nothing beyond itself.
    TMainForm(EditorState& state, Prompts& prompts, UserSettings* settings = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Loads a ROM image exactly as "Load Rom..." does after its dialog
    // (asking first when anything is unsaved). True when it was loaded.
    bool loadRom(const QString& path);
    // Picks a map as the chooser does; `listed` when it is one of its entries.
    // A map picked gives the keyboard to the page shown.
    void pickMap(const QString& name, bool listed);

    // Menu handlers.
    void Load1Click();
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void About1Click();
    void Preferences1Click();
    void TestPlay1Click();

    // The choosers.
    void MainBoxClick();
    void SubBoxChange();

    // Status bar: panel 0 for prompts and read-outs, panel 1 for hints.
    void setStatusText(const QString& text);
    QString statusText() const;
    QString hintText() const;
    void DisplayHint(const QString& hint);

    // The six web links of the Help menu: caption and address.
    struct Link {
        const char* caption;
        const char* hint;
        const char* url;
    };
    static const Link Links[6];

    EditorState& state;
    Prompts& prompts;
    EditorSession* session = nullptr;
    UserSettings* settings = nullptr;

    TgradientPanel* gradientPanel1 = nullptr;
    QComboBox* MainBox = nullptr;
    QComboBox* SubBox = nullptr;
    QTabWidget* TabbedNotebook1 = nullptr;
    QProgressBar* Progress = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;

    QAction* LoadRom1 = nullptr;
    QAction* SaveRom1 = nullptr;
    QAction* SaveRomAs1 = nullptr;
    QAction* LoadMap1 = nullptr;
    QAction* SaveMap1 = nullptr;
    QAction* GoToMap1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Grid1 = nullptr;
    QAction* BlockEditor1 = nullptr;
    QAction* RomOptions1 = nullptr;
    QAction* SaveMapPicture1 = nullptr;
    QAction* SaveTilesetPicture1 = nullptr;
    QMenu* VisibleMenuOptions1 = nullptr;
    QAction* MakeAllMartsFree1 = nullptr;
    QAction* BuildEvents1 = nullptr;
    QAction* CheckCatalogue1 = nullptr;
    QAction* Preferences1 = nullptr;
    QAction* TestPlay1 = nullptr;
    RecentFilesMenu* recentFiles = nullptr;
    QMenu* Links1 = nullptr;
    QAction* About1 = nullptr;
    TJMenu* Menu = nullptr;
    // The zoom of the map and event views, and the "View" menu that shows it.
    ZoomSetting* zoom = nullptr;
    ViewMenu* viewMenu = nullptr;
    ToolsMenu* toolsMenu = nullptr;   // the map page's tools and clipboard commands
    GoToMapWindow* goToMap = nullptr;
    OverviewPanel* overview = nullptr;   // View > Overview, a dockable panel
    QAction* Overview1 = nullptr;
    FindUsesWindow* findUses = nullptr;

    // The size the window is designed for; it opens larger when the screen allows.
    static constexpr QSize DesignSize{518, 396};

    MapPage* mapPage = nullptr;
    EventsEditor* events = nullptr;
    WildCrittersPage* critters = nullptr;
    StartMenuOptions* startMenu = nullptr;
    TBlockEditorForm* blockEditor = nullptr;
    TRomOptionsForm* romOptions = nullptr;
    TCatalogueCheckForm* catalogueCheck = nullptr;
    std::unique_ptr<MapFileCommands> mapFiles;
    TPreferencesForm* preferences = nullptr;
    std::unique_ptr<TestPlay> testPlay;
    PatchCommands* patches = nullptr;
    TiledCommands* tiled = nullptr;
    ScriptCommands* scripts = nullptr;   // Run Script, the Scripts submenu and the Script Output panel
    CatalogueMenu* catalogueMenu = nullptr;   // the Catalogue menu, after the others

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A ROM image dropped on the window is loaded as Load Rom loads it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createMenus();
    void fitToScreen();
    void createOverview();
    void createPages();
    void createWindows();
    // Preferences, Test Play and Open Recent, with the user's settings.
    void createUserCommands();
    void connectSession();
    // Enables the menu commands for the session's state; the one place that does.
    void updateActions();
    void showTilesetProgress(int value, int maximum);
    // A pointer read-out for panel 0: painted once per turn of the event
    // loop, the last one of the turn, and set only when its text differs.
    void showReadout(const QString& text);
    void showTitle();
    void CheckCatalogue1Click();
    // The pick alone; true when the map is now shown.
    bool pickOnly(const QString& name, bool listed);
    void focusShownPage();

    std::unique_ptr<UserSettings> m_ownSettings;
};
