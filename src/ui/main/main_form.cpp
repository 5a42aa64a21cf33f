#include "ui/main/main_form.h"

#include "session/catalogue_check.h"
#include "session/editor_session.h"
#include "session/test_play.h"
#include "session/user_settings.h"
#include "ui/main/catalogue_menu.h"
#include "ui/main/find_uses_window.h"
#include "ui/main/go_to_map_window.h"
#include "ui/main/overview_panel.h"
#include "ui/main/map_file_commands.h"
#include "ui/main/menu_bar_key.h"
#include "ui/main/menu_item.h"
#include "ui/main/patch_commands.h"
#include "ui/main/tiled_commands.h"
#include "ui/main/script_commands.h"
#include "ui/main/tools_menu.h"
#include "ui/main/view_menu.h"
#include "model/events/event_tables.h"
#include "model/map/map_picture.h"

#include "ui/main/catalogue_check_window.h"
#include "ui/main/close_on_escape.h"
#include "ui/encounters/wild_critters_page.h"
#include "ui/events/events_editor.h"
#include "ui/map/block_editor_form.h"
#include "model/map/map_renderer.h"
#include "ui/map/map_page.h"
#include "ui/patches/free_marts.h"
#include "ui/patches/rom_options_form.h"
#include "ui/patches/start_menu_options.h"
#include "widgets/gradient_panel.h"
#include "widgets/jmenu.h"
#include "widgets/readout_label.h"
#include "base/prompts.h"
#include "widgets/zoom_setting.h"

#include <QComboBox>
#include <QDockWidget>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

const TMainForm::Link TMainForm::Links[6] = {
    {"Pan Docs", "The Game Boy technical reference.", "https://gbdev.io/pandocs/"},
    {"Game Boy CPU opcodes", "Table of the Game Boy CPU instructions.", "https://gbdev.io/gb-opcodes/optables/"},
    {"Cartridge header", "What the bytes of a cartridge header mean.", "https://gbdev.io/pandocs/The_Cartridge_Header.html"},
    {"Memory bank controllers", "How cartridges switch ROM banks.", "https://gbdev.io/pandocs/MBCs.html"},
    {"Game Boy Color palettes", "How the Game Boy Color stores colours.", "https://gbdev.io/pandocs/Palettes.html"},
    {"Game Boy development community", "Tools and documents for Game Boy hacking.", "https://gbdev.io/"},
};

TMainForm::TMainForm(EditorState& editorState, Prompts& editorPrompts, UserSettings* userSettings, QWidget* parent)
    : QMainWindow(parent), state(editorState), prompts(editorPrompts), settings(userSettings)
{
    setObjectName(QStringLiteral("MainForm"));
    session = new EditorSession(state, prompts, this);
    showTitle();
    setAcceptDrops(true);

    createMenus();
    createPages();
    toolsMenu = new ToolsMenu(menuBar(), viewMenu->View1->menuAction(),
                              menuBar()->findChild<QMenu*>(QStringLiteral("Edit1")), this, *mapPage, this);
    goToMap = new GoToMapWindow(*this);
    connect(GoToMap1, &QAction::triggered, goToMap, &GoToMapWindow::GoToMap1Click);
    createOverview();
    fitToScreen();

    // The grid's check mark mirrors the session's setting.
    Grid1->setChecked(session->grid().on());

    // The categories, in file order.
    MainBox->addItems(state.core.catalogue.MainIni.sections());
    MainBox->setCurrentIndex(-1);

    createWindows();
    createUserCommands();
    catalogueMenu = new CatalogueMenu(*this);
    connectSession();
    updateActions();
}

TMainForm::~TMainForm() = default;

void TMainForm::createOverview()
{
    overview = new OverviewPanel(*this);
    addDockWidget(Qt::RightDockWidgetArea, overview);
    overview->hide();
    Overview1 = overview->toggleViewAction();
    Overview1->setObjectName(QStringLiteral("Overview1"));
    Overview1->setText(QStringLiteral("Overview"));
    Overview1->setStatusTip(QStringLiteral("Shows every map of the category as a small picture."));
    viewMenu->View1->addSeparator();
    viewMenu->View1->addAction(Overview1);
    // Every other panel too, so that one closed can be brought back.
    const auto docks = findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly);
    for (QDockWidget* dock : docks) {
        QAction* toggle = dock->toggleViewAction();
        if (toggle == Overview1)
            continue;
        toggle->setObjectName(dock->objectName() + QLatin1Char('1'));
        toggle->setStatusTip(QStringLiteral("Shows or hides the %1 panel.").arg(dock->windowTitle()));
        viewMenu->View1->addAction(toggle);
    }
}

void TMainForm::fitToScreen()
{
    // About two thirds of the screen, so that a real part of a map is in
    // sight; at least the design size, but never more than the screen holds.
    const QScreen* shownOn = screen();
    const QSize available = shownOn ? shownOn->availableGeometry().size() : DesignSize;
    resize((available * 2 / 3).expandedTo(DesignSize).boundedTo(available));
}

void TMainForm::connectSession()
{
    connect(session, &EditorSession::romLoaded, this, [this] {
        setStatusText(QStringLiteral("Select map."));
        MainBox->setEnabled(true);
        startMenu->LoadStartMenuOptions();
    });
    connect(session, &EditorSession::mapPicked, this, &TMainForm::showTitle);
    connect(session, &EditorSession::mapDropped, this, &TMainForm::showTitle);
    for (auto changed : {&EditorSession::romLoaded, &EditorSession::mapPicked, &EditorSession::mapDropped,
                         &EditorSession::eventsChanged})
        connect(session, changed, this, &TMainForm::updateActions);
    connect(session, &EditorSession::modifiedChanged, this, &QWidget::setWindowModified);
    connect(session, &EditorSession::statusText, this, &TMainForm::setStatusText);
    connect(session, &EditorSession::tilesetProgress, this, &TMainForm::showTilesetProgress);
    connect(&session->grid(), &GridSetting::changed, Grid1, &QAction::setChecked);
}

void TMainForm::showTitle()
{
    const MapRecord& map = state.core.map;
    setWindowTitle(map.isMap() ? QStringLiteral("Kartola - %1[*]").arg(map.name) : QStringLiteral("Kartola[*]"));
}

void TMainForm::updateActions()
{
    const bool rom = state.core.romLoaded();
    const bool map = state.core.map.isMap();
    for (QAction* action : {BlockEditor1, RomOptions1, MakeAllMartsFree1, CheckCatalogue1, TestPlay1})
        action->setEnabled(rom);
    VisibleMenuOptions1->setEnabled(rom);
    SaveMapPicture1->setEnabled(map);
    SaveTilesetPicture1->setEnabled(map);
    BuildEvents1->setEnabled(map && eventsBuildable(state.events));
}

void TMainForm::showTilesetProgress(int value, int maximum)
{
    // The build takes a few milliseconds: painting the bar after every block
    // would cost more than the build itself, so it is painted once it is done.
    if (value == 0) {
        setStatusText(QStringLiteral("Loading Tileset%1 please wait...").arg(state.core.map.TilesetNumber));
        Progress->setMaximum(maximum);
        Progress->setUpdatesEnabled(false);
        Progress->show();
    }
    Progress->setValue(value);
    if (value >= maximum) {
        Progress->setUpdatesEnabled(true);
        Progress->hide();
    }
}

void TMainForm::createMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    LoadRom1 = addMenuItem(file, "LoadRom1", QStringLiteral("Load Rom..."), QStringLiteral("Load rom."));
    SaveRom1 = addMenuItem(file, "SaveRom1", QStringLiteral("Save Rom"), QStringLiteral("save rom."));
    SaveRomAs1 = addMenuItem(file, "SaveRomAs1", QStringLiteral("Save Rom As..."), QStringLiteral("Save to diffrent file."));
    LoadMap1 = addMenuItem(file, "LoadMap1", QStringLiteral("Load Map..."), QString());
    SaveMap1 = addMenuItem(file, "SaveMap1", QStringLiteral("Save Map..."), QString());
    GoToMap1 = addMenuItem(file, "GoToMap1", QStringLiteral("Go to Map..."), QStringLiteral("Find a map by its name."));
    GoToMap1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    // No other item of this menu starts with E: the E key picks Exit at once.
    Exit1 = addMenuItem(file, "Exit1", QStringLiteral("Exit"), QStringLiteral("Exit this proram."));
    // Desktop shortcuts for the file commands.
    LoadRom1->setShortcut(QKeySequence::Open);
    SaveRom1->setShortcut(QKeySequence::Save);
    SaveRomAs1->setShortcut(QKeySequence::SaveAs);
    Exit1->setShortcut(QKeySequence::Quit);
    patches = new PatchCommands(*session, file, Exit1, this);

    QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    Undo1 = session->undoStack().createUndoAction(this, QStringLiteral("Undo"));
    Undo1->setObjectName(QStringLiteral("Undo1"));
    Undo1->setShortcuts(QKeySequence::Undo);
    Undo1->setStatusTip(QStringLiteral("Undo the last change."));
    Redo1 = session->undoStack().createRedoAction(this, QStringLiteral("Redo"));
    Redo1->setObjectName(QStringLiteral("Redo1"));
    // Ctrl+Y as well as the platform's own redo keys (Ctrl+Shift+Z on Linux).
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Y));
    Redo1->setShortcuts(redoKeys);
    Redo1->setStatusTip(QStringLiteral("Redo the last change undone."));
    edit->addAction(Undo1);
    edit->addAction(Redo1);

    QMenu* settings = bar->addMenu(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("Settings1"));
    Grid1 = addMenuItem(settings, "Grid1", QStringLiteral("Show Grid"), QStringLiteral("Adds grid in map."));
    Grid1->setCheckable(true);

    QMenu* utilities = bar->addMenu(QStringLiteral("Utilies"));
    utilities->setObjectName(QStringLiteral("Utilies1"));
    BlockEditor1 = addMenuItem(utilities, "BlockEditor1", QStringLiteral("Block Editor..."), QStringLiteral("Edit building blocks."), {}, false);
    RomOptions1 = addMenuItem(utilities, "RomOptions1", QStringLiteral("Rom Options..."), QStringLiteral("Change various things in rom."), {}, false);
    SaveMapPicture1 = addMenuItem(utilities, "SaveMapPicture1", QStringLiteral("Save Map Picture..."), QStringLiteral("save map as picture."), {}, false);
    SaveTilesetPicture1 = addMenuItem(utilities, "SaveTilesetPicture1", QStringLiteral("Save Tileset Picture..."), QStringLiteral("Save tileset as picture."), {}, false);
    VisibleMenuOptions1 = utilities->addMenu(QStringLiteral("Visible Start Menu Options"));
    VisibleMenuOptions1->setObjectName(QStringLiteral("VisibleMenuOptions1"));
    VisibleMenuOptions1->menuAction()->setObjectName(QStringLiteral("VisibleMenuOptions1Item"));
    VisibleMenuOptions1->menuAction()->setStatusTip(QStringLiteral("Change witch things will be shown in start menu."));
    VisibleMenuOptions1->setEnabled(false);
    MakeAllMartsFree1 = addMenuItem(utilities, "MakeAllMartsFree1", QStringLiteral("Make All Marts Free"), QStringLiteral("Changes some assembler instructions, to make marts free!"), {}, false);
    BuildEvents1 = addMenuItem(utilities, "BuildEvents1", QStringLiteral("Build Events..."), QStringLiteral("This util allows you to change number of events"), {}, false);
    CheckCatalogue1 = addMenuItem(utilities, "CheckCatalogue1", QStringLiteral("Check Catalogue..."), QStringLiteral("Check every map and option of the catalogue against the ROM."), {}, false);
    scripts = new ScriptCommands(*session, utilities, this, this);
    tiled = new TiledCommands(*session, file, Exit1, utilities, this, [this] { Preferences1Click(); });

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    Links1 = help->addMenu(QStringLiteral("Links"));
    Links1->setObjectName(QStringLiteral("Links1"));
    for (const Link& link : Links) {
        QAction* action = Links1->addAction(QString::fromLatin1(link.caption));
        action->setStatusTip(QString::fromLatin1(link.hint));
        const QUrl url(QString::fromLatin1(link.url));
        connect(action, &QAction::triggered, this, [url] { QDesktopServices::openUrl(url); });
    }
    About1 = addMenuItem(help, "About1", QStringLiteral("About..."), QStringLiteral("About this program."));

    connect(LoadRom1, &QAction::triggered, this, &TMainForm::Load1Click);
    connect(SaveRom1, &QAction::triggered, this, &TMainForm::Save1Click);
    connect(SaveRomAs1, &QAction::triggered, this, &TMainForm::SaveAs1Click);
    connect(Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
    connect(About1, &QAction::triggered, this, &TMainForm::About1Click);

    startMenu = new StartMenuOptions(*session, VisibleMenuOptions1, this);
    connect(MakeAllMartsFree1, &QAction::triggered, this, [this] {
        MakeAllMartsFree1Click(state.core.rom, prompts, [this](const std::function<bool(RomImage&)>& patch) {
            session->editRom(QStringLiteral("Make All Marts Free"), patch);
        });
    });
    connect(Grid1, &QAction::triggered, this, [this](bool on) {
        const SessionOutcome set = session->grid().set(on);
        if (set.isRefused())
            prompts.error(set.refusal);
    });

    zoom = new ZoomSetting(this);
    viewMenu = new ViewMenu(bar, edit->menuAction(), *zoom, this);

    Menu = new TJMenu(bar, this);
    Menu->setStyle(TJMenu::msBtnLowered);
    addMenuBarKey(this);
}

void TMainForm::createPages()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    gradientPanel1 = new TgradientPanel(central);
    gradientPanel1->setObjectName(QStringLiteral("gradientPanel1"));
    gradientPanel1->setBeginColor(Qt::yellow);
    gradientPanel1->setEndColor(Qt::red);
    gradientPanel1->setFixedHeight(33);
    layout->addWidget(gradientPanel1);

    MainBox = new QComboBox(gradientPanel1);
    MainBox->setObjectName(QStringLiteral("MainBox"));
    MainBox->setPlaceholderText(QStringLiteral("Category"));
    MainBox->setGeometry(8, 6, 169, 22);
    MainBox->setEnabled(false);
    SubBox = new QComboBox(gradientPanel1);
    SubBox->setObjectName(QStringLiteral("SubBox"));
    SubBox->setEditable(true);
    SubBox->setInsertPolicy(QComboBox::NoInsert);
    SubBox->lineEdit()->setPlaceholderText(QStringLiteral("Map"));
    SubBox->setGeometry(192, 6, 169, 22);
    SubBox->setEnabled(false);
    connect(MainBox, &QComboBox::activated, this, &TMainForm::MainBoxClick);
    // One user action, one pick: a list entry chosen, or a name typed.
    connect(SubBox, &QComboBox::textActivated, this, [this](const QString& name) { pickMap(name, true); });
    connect(SubBox->lineEdit(), &QLineEdit::textEdited, this, &TMainForm::SubBoxChange);

    TabbedNotebook1 = new QTabWidget(central);
    TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
    layout->addWidget(TabbedNotebook1, 1);

    Progress = new QProgressBar(central);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setFixedHeight(16);
    Progress->setTextVisible(false);
    Progress->hide();
    layout->addWidget(Progress);
    setCentralWidget(central);

    StatusPanel0 = new ReadoutLabel(QStringLiteral("Click \"File/Load...\" to load rom."));
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    // A fixed size: a new read-out on every pointer move repaints the panel
    // without laying out the status bar again.
    StatusPanel0->setFixedSize(200, StatusPanel0->sizeHint().height());
    StatusPanel1 = new QLabel;
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);

    mapPage = new MapPage(*session);
    mapPage->setObjectName(QStringLiteral("MapPage"));
    TabbedNotebook1->addTab(mapPage, QStringLiteral("Map"));
    connect(mapPage, &MapPage::statusText, this, &TMainForm::showReadout);

    auto* eventsPage = new QWidget;
    eventsPage->setObjectName(QStringLiteral("EventsPage"));
    TabbedNotebook1->addTab(eventsPage, QStringLiteral("Events"));
    // The event view shows the map through the map page's renderer.
    const MapRenderer& map = mapPage->renderer();
    events = new EventsEditor(
        *session, eventsPage,
        [&map](QImage& target, QPoint at, const QRect& area, int zoom) { map.render(target, at, area, zoom); },
        [&map] { return QSize(int(map.viewWidth(100)), int(map.viewHeight(100))); }, this);
    mapPage->followZoom(zoom);
    events->followZoom(zoom);
    connect(events, &EventsEditor::statusText, this, &TMainForm::showReadout);
    connect(BuildEvents1, &QAction::triggered, events, &EventsEditor::BuildEvents1Click);

    critters = new WildCrittersPage(*session);
    critters->setObjectName(QStringLiteral("WildCrittersPage"));
    // In a scroll box of its own: the page's groups, shown once a map has
    // encounters, never widen the window.
    auto* crittersBox = new QScrollArea;
    crittersBox->setObjectName(QStringLiteral("CrittersScrollBox"));
    crittersBox->setFrameShape(QFrame::NoFrame);
    crittersBox->setWidgetResizable(true);
    crittersBox->setWidget(critters);
    TabbedNotebook1->addTab(crittersBox, QStringLiteral("Wild Critters"));
    TabbedNotebook1->setCurrentIndex(2);
    connect(TabbedNotebook1, &QTabWidget::currentChanged, events, &EventsEditor::TabbedNotebook1Change);
    // The Map page brought up, by a tab, Ctrl+Tab or the program: its tool
    // letters and clipboard keys work at once.
    connect(TabbedNotebook1, &QTabWidget::currentChanged, this, [this] {
        if (TabbedNotebook1->currentWidget() == mapPage)
            focusShownPage();
    });

    mapFiles = std::make_unique<MapFileCommands>(*session, this);
    connect(LoadMap1, &QAction::triggered, this, [this] { mapFiles->LoadMap1Click(); });
    connect(SaveMap1, &QAction::triggered, this, [this] { mapFiles->SaveMap1Click(); });
    connect(SaveMapPicture1, &QAction::triggered, this, [this] { mapFiles->SaveMapPicture1Click(mapPage->renderer().grid()); });
    connect(SaveTilesetPicture1, &QAction::triggered, this, [this] { mapFiles->SaveTilesetPicture1Click(mapPage->paletteImage()); });
}

void TMainForm::createWindows()
{
    // The secondary windows, created once in this order and hidden until
    // their commands show them.
    blockEditor = new TBlockEditorForm(*session, this);
    blockEditor->setWindowFlags(blockEditor->windowFlags() | Qt::Window);
    blockEditor->hide();
    romOptions = new TRomOptionsForm(*session, this);
    romOptions->setWindowFlags(romOptions->windowFlags() | Qt::Window);
    romOptions->hide();
    events->createWindows();
    catalogueCheck = new TCatalogueCheckForm(this);
    catalogueCheck->setWindowFlags(catalogueCheck->windowFlags() | Qt::Window);
    catalogueCheck->hide();

    connect(BlockEditor1, &QAction::triggered, blockEditor, &TBlockEditorForm::BlockEditor1Click);
    findUses = new FindUsesWindow(*this);
    closeOnEscape(blockEditor);
    closeOnEscape(findUses);
    connect(blockEditor, &TBlockEditorForm::findUsesRequested, findUses, &FindUsesWindow::findUses);
    connect(mapPage, &MapPage::findUsesRequested, findUses,
            [this](qint32 block) { findUses->findUses(state.core.map.TilesetNumber, block); });
    connect(RomOptions1, &QAction::triggered, romOptions, &TRomOptionsForm::RomOptions1Click);
    connect(CheckCatalogue1, &QAction::triggered, this, &TMainForm::CheckCatalogue1Click);
}

void TMainForm::CheckCatalogue1Click()
{
    catalogueCheck->startCheck(state.core.catalogue, state.core.rom);
}

void TMainForm::setStatusText(const QString& text)
{
    if (StatusPanel0->text() != text)
        StatusPanel0->setText(text);
}

void TMainForm::showReadout(const QString& text)
{
    // Set at once: however many moves a turn brings, the panel is painted
    // once, with the last text.
    setStatusText(text);
}

QString TMainForm::statusText() const
{
    return StatusPanel0->text();
}

QString TMainForm::hintText() const
{
    return StatusPanel1->text();
}

void TMainForm::DisplayHint(const QString& hint)
{
    StatusPanel1->setText(hint);
}

bool TMainForm::event(QEvent* e)
{
    // Hints of menu items and controls go to panel 1, not over the panels.
    if (e->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    // Back from another program: the ROM file may have changed meanwhile.
    // Asked once activation is over, not from inside it.
    if (e->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, session, &EditorSession::checkRomOnDisk);
    return QMainWindow::event(e);
}
