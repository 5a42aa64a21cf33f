// The main window: start state, ROM commands, the choosers and the map pick.
#include "ui_support/editor_fixture.h"

#include "session/user_settings.h"
#include "ui/main/editor_start.h"
#include "ui/map/map_page.h"
#include "ui/events/event_view.h"
#include "ui/events/events_editor.h"
#include "ui/map/map_view.h"
#include "widgets/jmenu.h"
#include "ui/main/view_menu.h"
#include "ui/main/catalogue_check_window.h"
#include "ui/main/find_uses_window.h"
#include "ui/main/preferences_dialog.h"
#include "ui/map/block_editor_form.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QFileInfo>
#include <QtTest>

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void startState();
    void gridSettingReadAtStart();
    void saveBeforeLoadShowsMessage_data();
    void saveBeforeLoadShowsMessage();
    void loadRomEnablesRomCommands();
    void loadRomThroughDialog();
    void unreadableRomKeepsImage();
    void saveAsThenSaveWritesLoadedFile();
    void cancelledSaveAsWritesNothing();
    void failedSaveReportsAndKeepsTarget();
    void categoryPickFillsMapChooser();
    void mapPickReadsRecord();
    void hintOfMapViewGoesToPanel1();
    void readoutFollowsThePointer_data();
    void readoutFollowsThePointer();
    void refusedPickLeavesMapAsItWas_data();
    void refusedPickLeavesMapAsItWas();
    void typedPartialNameIsIgnored();
    void secondLoadDropsMap();
    void repickingTheShownEntryPicksAgain();
    void mainMenuIsOwnerDrawn();
    void viewMenuZoomsBothViews();
    void windowFitsTheScreenAndKeepsItsSize();
    void closedPanelComesBackFromTheViewMenu();
    void ownWindowClosesOnEscape_data();
    void ownWindowClosesOnEscape();
};

namespace {
// Counts the events a widget receives, by type.
struct EventLog : QObject {
    QMap<QEvent::Type, int> counts;
    bool eventFilter(QObject*, QEvent* event) override { return ++counts[event->type()], false; }
};
}

void TestMainForm::readoutFollowsThePointer_data()
{
    // Alpha Town: 10 x 9 cells from 0x1000, bytes (0x1000 + i) mod 251; its blocks from 0x8000.
    QTest::addColumn<bool>("onPalette");
    QTest::addColumn<QList<QPoint>>("moves");   // the first one enters the widget
    QTest::addColumn<QString>("shown");
    QTest::newRow("across cells") << false << QList<QPoint>{{5, 5}, {300, 200}, {5 * 64 + 63, 3 * 64 + 1}}
                                  << QStringLiteral("X: 5 Y: 3 Block: 73 Offset: 1023");
    QTest::newRow("within one cell") << false << QList<QPoint>{{64 + 1, 1}, {64 + 60, 63}}
                                     << QStringLiteral("X: 1 Y: 0 Block: 51 Offset: 1001");
    QTest::newRow("palette rows") << true << QList<QPoint>{{5, 5}, {60, 2 * 64 + 63}}
                                  << QStringLiteral("Block: 03 Offset: 8020");
}

void TestMainForm::readoutFollowsThePointer()
{
    QFETCH(bool, onPalette);
    QFETCH(QList<QPoint>, moves);
    QFETCH(QString, shown);
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    form.TabbedNotebook1->setCurrentIndex(0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    f.pickMap(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    QWidget* widget = onPalette ? form.mapPage->BlockPalette : static_cast<QWidget*>(form.mapPage->MapBox);
    QTest::mouseMove(widget, moves.takeFirst());
    QCoreApplication::processEvents();
    const QString entered = form.StatusPanel0->text();
    EventLog bar, panel;
    form.statusBar()->installEventFilter(&bar);
    form.StatusPanel0->installEventFilter(&panel);
    for (const QPoint& at : moves)
        QTest::mouseMove(widget, at);
    QCoreApplication::processEvents();
    QCOMPARE(form.StatusPanel0->text(), shown);
    // A new text repaints the panel alone, an unchanged one nothing; the
    // status bar is neither laid out nor painted again.
    QCOMPARE(panel.counts.value(QEvent::Paint) > 0, shown != entered);
    QCOMPARE(bar.counts.value(QEvent::LayoutRequest) + bar.counts.value(QEvent::Paint), 0);
}

void TestMainForm::startState()
{
    EditorFixture f;
    TMainForm& form = f.open();
    QCOMPARE(EditorFixture::shownTitle(form), QStringLiteral("Kartola"));
    QVERIFY(!form.MainBox->isEnabled());
    QVERIFY(!form.SubBox->isEnabled());
    QCOMPARE(form.MainBox->count(), 2);
    QCOMPARE(form.MainBox->itemText(0), QStringLiteral("Towns"));
    QCOMPARE(form.TabbedNotebook1->currentIndex(), 2);
    QCOMPARE(form.TabbedNotebook1->tabText(0), QStringLiteral("Map"));
    QCOMPARE(form.TabbedNotebook1->tabText(1), QStringLiteral("Events"));
    QCOMPARE(form.TabbedNotebook1->tabText(2), QStringLiteral("Wild Critters"));
    QVERIFY(form.Progress->isHidden());
    QCOMPARE(form.statusText(), QStringLiteral("Click \"File/Load...\" to load rom."));
    for (QAction* a : {form.LoadRom1, form.SaveRom1, form.SaveRomAs1, form.LoadMap1, form.SaveMap1, form.Exit1, form.Grid1, form.About1})
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    for (QAction* a : {form.BlockEditor1, form.RomOptions1, form.SaveMapPicture1, form.SaveTilesetPicture1, form.MakeAllMartsFree1, form.BuildEvents1})
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(!form.VisibleMenuOptions1->isEnabled());
    QCOMPARE(form.SaveRomAs1->statusTip(), QStringLiteral("Save to diffrent file."));
    QCOMPARE(form.findChild<QAction*>("Exit1")->statusTip(), QStringLiteral("Exit this proram."));
}

void TestMainForm::gridSettingReadAtStart()
{
    EditorFixture f;
    QVERIFY(!f.open().Grid1->isChecked());
    f.dir.write("Critters.ini", "[settings]\r\ngrid=1\r\n");
    QVERIFY(f.open().Grid1->isChecked());
}

void TestMainForm::saveBeforeLoadShowsMessage_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::newRow("Save Rom") << false;
    QTest::newRow("Save Rom As") << true;
}

void TestMainForm::saveBeforeLoadShowsMessage()
{
    QFETCH(bool, saveAs);
    EditorFixture f;
    TMainForm& form = f.open();
    f.prompts.chooseFile(f.dir.file("out.gb"));
    (saveAs ? form.SaveRomAs1 : form.SaveRom1)->trigger();
    QCOMPARE(f.prompts.texts(), QStringList{QStringLiteral("You haven't loaded rom! Please load rom before saving.")});
    QCOMPARE(f.prompts.shown.front().kind, Prompts::Kind::Error);
    QVERIFY(f.prompts.fileRequests.empty());
    QVERIFY(!QFile::exists(f.dir.file("out.gb")));
}

void TestMainForm::loadRomEnablesRomCommands()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    QCOMPARE(form.statusText(), QStringLiteral("Select map."));
    QCOMPARE(f.state->core.RomFileName, f.dir.file("rom.gbc"));
    QCOMPARE(f.state->core.rom.size(), qint64(EditorFixture::RomSize));
    QVERIFY(form.MainBox->isEnabled());
    QVERIFY(!form.SubBox->isEnabled());
    for (QAction* a : {form.BlockEditor1, form.RomOptions1, form.MakeAllMartsFree1})
        QVERIFY(a->isEnabled());
    QVERIFY(form.VisibleMenuOptions1->isEnabled());
    for (QAction* a : {form.SaveMapPicture1, form.SaveTilesetPicture1, form.BuildEvents1})
        QVERIFY(!a->isEnabled());
}

void TestMainForm::loadRomThroughDialog()
{
    EditorFixture f;
    TMainForm& form = f.open();
    f.prompts.chooseFile(std::nullopt);
    form.LoadRom1->trigger();
    QVERIFY(!f.state->core.romLoaded());
    QCOMPARE(f.prompts.fileRequests.back().filter, QStringLiteral("GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*"));
    QVERIFY(f.prompts.fileRequests.back().initialName.isEmpty());
    f.prompts.chooseFile(f.dir.file("rom.gbc"));
    form.LoadRom1->trigger();
    QVERIFY(f.state->core.romLoaded());
    // The next time the dialog opens in the folder of that image.
    f.prompts.chooseFile(std::nullopt);
    form.LoadRom1->trigger();
    QCOMPARE(f.prompts.fileRequests.back().initialName, QFileInfo(f.dir.file("rom.gbc")).absolutePath());
}

void TestMainForm::unreadableRomKeepsImage()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    QVERIFY(!form.loadRom(f.dir.file("missing.gbc")));
    QCOMPARE(f.prompts.lastText(), QStringLiteral("Cannot open file %1").arg(f.dir.file("missing.gbc")));
    QCOMPARE(f.state->core.RomFileName, f.dir.file("rom.gbc"));
    QCOMPARE(f.state->core.rom.bytes(), TestDir::patternRom(EditorFixture::RomSize));
}

void TestMainForm::saveAsThenSaveWritesLoadedFile()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.state->core.rom.writeAt(10, "\xEE", 1);
    f.prompts.chooseFile(f.dir.file("copy.gb"));
    form.SaveRomAs1->trigger();
    QCOMPARE(f.prompts.fileRequests.back().defaultSuffix, QStringLiteral("GB"));
    QCOMPARE(f.prompts.fileRequests.back().title, QStringLiteral("Save rom"));
    QCOMPARE(f.dir.read("copy.gb"), f.state->core.rom.bytes());
    QCOMPARE(f.state->core.RomFileName, f.dir.file("rom.gbc"));

    f.state->core.rom.writeAt(11, "\xDD", 1);
    form.SaveRom1->trigger();
    QCOMPARE(f.dir.read("rom.gbc"), f.state->core.rom.bytes());
    QCOMPARE(quint8(f.dir.read("copy.gb").at(11)), quint8(11));
    QVERIFY(f.prompts.shown.empty());
}

void TestMainForm::cancelledSaveAsWritesNothing()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Towns", "Alpha Town");
    const QByteArray before = f.state->core.rom.bytes();
    f.prompts.chooseFile(std::nullopt);
    form.SaveRomAs1->trigger();
    QCOMPARE(f.state->core.rom.bytes(), before);
    QCOMPARE(f.dir.read("rom.gbc"), TestDir::patternRom(EditorFixture::RomSize));
}

void TestMainForm::failedSaveReportsAndKeepsTarget()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    // A folder stands where the file should go: it cannot be replaced.
    QDir(f.dir.path()).mkdir("blocked.gb");
    f.dir.write("blocked.gb/keep.txt", "kept");
    f.prompts.chooseFile(f.dir.file("blocked.gb"));
    form.SaveRomAs1->trigger();
    QCOMPARE(f.prompts.lastText(), QStringLiteral("Cannot create file %1").arg(f.dir.file("blocked.gb")));
    QCOMPARE(f.dir.read("blocked.gb/keep.txt"), QByteArray("kept"));
}

void TestMainForm::categoryPickFillsMapChooser()
{
    EditorFixture f;
    f.dir.write("Main.Ini", "[Towns]\r\n1=Alpha Town\r\n2=Beta Town\r\n4=Delta\r\n[Routes]\r\n1=Route 1\r\n");
    TMainForm& form = f.openWithRom();
    f.pickMap("Routes", "Route 1");
    const MapRecord before = f.state->core.map;
    f.pickCategory("Towns");
    QVERIFY(form.SubBox->isEnabled());
    QCOMPARE(form.SubBox->count(), 3);
    QCOMPARE(form.SubBox->itemText(0), QStringLiteral("Alpha Town"));
    QCOMPARE(form.SubBox->itemText(1), QStringLiteral("Beta Town"));
    QCOMPARE(form.SubBox->itemText(2), QString());
    QCOMPARE(f.state->core.map.name, before.name);
    QCOMPARE(EditorFixture::shownTitle(form), QStringLiteral("Kartola - Route 1"));
}

void TestMainForm::mapPickReadsRecord()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Routes", "Route 1");
    const MapRecord& r = f.state->core.map;
    QCOMPARE(r.name, QStringLiteral("Route 1"));
    QCOMPARE(r.MapStart, 12288);
    QCOMPARE(r.MapEnd, 12647);
    QCOMPARE(r.MapWidth, 20);
    QCOMPARE(r.MapHeight, 18);
    QCOMPARE(r.TilesetNumber, 1);
    QCOMPARE(r.TilesetBlocks, 10);
    QCOMPARE(r.TilesetStart, 0x8000);
    QCOMPARE(r.EncounterStart, 0x5000);
    QCOMPARE(EditorFixture::shownTitle(form), QStringLiteral("Kartola - Route 1"));
    QCOMPARE(form.mapPage->MapBox->statusTip(), QStringLiteral("Long grass"));
    QVERIFY(!f.state->Pics.isNull());
    QCOMPARE(f.state->Pics.image().size(), QSize(256, 96));
    QVERIFY(f.prompts.shown.empty());

    f.pickMap("Towns", "Beta Town");
    QCOMPARE(f.state->core.map.MapStart, 0x2000);
    QCOMPARE(f.state->core.map.TilesetStart, 0x9000);
    QCOMPARE(f.state->core.map.EncounterStart, 0);
}

void TestMainForm::hintOfMapViewGoesToPanel1()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Towns", "Alpha Town");
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(form.mapPage->MapBox, &enter);
    QCOMPARE(form.hintText(), QStringLiteral("A quiet town"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form.mapPage->MapBox, &leave);
    QCOMPARE(form.hintText(), QString());
}

void TestMainForm::refusedPickLeavesMapAsItWas_data()
{
    QTest::addColumn<QByteArray>("tilesets");
    QTest::addColumn<QString>("message");
    QTest::newRow("tileset picture missing")
        << QByteArray("[1]\r\nBlocks=10\r\nStart offset=0x8000\r\nTiles=tiles\\none.bmp\r\n") << "Cannot open file ";
    QTest::newRow("no Tiles key")
        << QByteArray("[1]\r\nBlocks=10\r\nStart offset=0x8000\r\n") << "Cannot open file ";
    QTest::newRow("blocks above 127")
        << QByteArray("[1]\r\nBlocks=200\r\nStart offset=0x8000\r\nTiles=tiles\\Outdoor.bmp\r\n") << "200 blocks";
    QTest::newRow("blocks outside the image")
        << QByteArray("[1]\r\nBlocks=10\r\nStart offset=0xFFF0\r\nTiles=tiles\\Outdoor.bmp\r\n") << "outside";
    QTest::newRow("no tileset section")
        << QByteArray("") << "Cannot open file ";
}

void TestMainForm::refusedPickLeavesMapAsItWas()
{
    QFETCH(QByteArray, tilesets);
    QFETCH(QString, message);
    EditorFixture f;
    f.dir.write("Tilesets.ini",
                "[2]\r\nBlocks=4\r\nStart offset=0x9000\r\nTiles=tiles\\cave.bmp\r\n" + tilesets);
    TMainForm& form = f.openWithRom();
    f.pickMap("Towns", "Beta Town");
    QVERIFY(f.prompts.shown.empty());
    const QImage picsBefore = f.state->Pics.image();
    f.pickMap("Routes", "Route 1");
    QCOMPARE(f.prompts.shown.size(), size_t(1));
    QVERIFY2(f.prompts.lastText().contains(message), qPrintable(f.prompts.lastText()));
    QCOMPARE(f.state->core.map.name, QStringLiteral("Beta Town"));
    QCOMPARE(f.state->core.map.MapStart, 0x2000);
    QCOMPARE(f.state->core.map.TilesetNumber, 2);
    QCOMPARE(EditorFixture::shownTitle(form), QStringLiteral("Kartola - Beta Town"));
    QCOMPARE(form.mapPage->MapBox->statusTip(), QStringLiteral("Small"));
    QCOMPARE(f.state->Pics.image(), picsBefore);
}

void TestMainForm::typedPartialNameIsIgnored()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Towns", "Alpha Town");
    f.prompts.shown.clear();
    form.SubBox->lineEdit()->clear();
    QTest::keyClicks(form.SubBox->lineEdit(), QStringLiteral("Beta"));
    QVERIFY(f.prompts.shown.empty());
    QCOMPARE(f.state->core.map.name, QStringLiteral("Alpha Town"));
    QTest::keyClicks(form.SubBox->lineEdit(), QStringLiteral(" Town"));
    QCOMPARE(f.state->core.map.name, QStringLiteral("Beta Town"));
    // A listed name without a record is reported.
    form.SubBox->setCurrentIndex(form.SubBox->findText("Gamma"));
    emit form.SubBox->textActivated(QStringLiteral("Gamma"));
    QCOMPARE(f.prompts.texts(), QStringList{QStringLiteral("Map \"Gamma\" has no section in Maps.Ini.")});
    QCOMPARE(f.state->core.map.name, QStringLiteral("Beta Town"));
}

void TestMainForm::secondLoadDropsMap()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Routes", "Route 1");
    form.SaveMapPicture1->setEnabled(true);
    QVERIFY(form.loadRom(f.dir.file("rom.gbc")));
    QVERIFY(!f.state->core.map.isMap());
    QCOMPARE(f.state->core.map.MapStart, 0);
    QCOMPARE(f.state->core.map.EncounterStart, 0);
    QCOMPARE(EditorFixture::shownTitle(form), QStringLiteral("Kartola"));
    QVERIFY(!form.SaveMapPicture1->isEnabled());
    QVERIFY(!f.state->pictures.built(1));
    QVERIFY(f.state->Pics.isNull());
    QCOMPARE(form.SubBox->count(), 1); // the choosers keep their lists
    // Saving now writes the new image as loaded, nothing of the old map.
    form.SaveRom1->trigger();
    QCOMPARE(f.dir.read("rom.gbc"), TestDir::patternRom(EditorFixture::RomSize));
}

void TestMainForm::repickingTheShownEntryPicksAgain()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Towns", "Alpha Town");
    f.state->core.map.MapStart = 1; // a stale value that a new pick replaces
    QCoreApplication::processEvents(); // the pick above was an earlier user action
    emit form.SubBox->textActivated(form.SubBox->currentText());
    QCOMPARE(f.state->core.map.MapStart, 0x1000);
}

void TestMainForm::mainMenuIsOwnerDrawn()
{
    // The window as the program starts it.
    EditorFixture f;
    TestDir recovery;
    UserSettings settings;
    const StartedEditor editor = startEditor({QString(), QString(), f.dir.path(), recovery.path()}, settings, &f.prompts);
    TMainForm& form = *editor.form;
    QCOMPARE(form.Menu->Style(), TJMenu::msBtnLowered);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // No caption of the menu bar or of its menus marks a letter: the menu
    // picks items by their first letter.
    for (QAction* title : form.menuBar()->actions()) {
        QVERIFY2(!title->text().contains(u'&'), qPrintable(title->text()));
        for (QAction* item : title->menu()->actions())
            QVERIFY2(!item->text().contains(u'&'), qPrintable(item->text()));
    }
    auto* file = form.findChild<QMenu*>("File1");
    file->popup(form.mapToGlobal(QPoint(10, form.menuBar()->height())));
    QVERIFY(QTest::qWaitForWindowExposed(file));
    const QImage image = file->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect save = file->actionGeometry(form.SaveRom1);
    QCOMPARE(QColor(image.pixel(save.right() - 2, save.center().y())), QColor(255, 255, 0));
    // E runs Exit, the only item of the File menu with that first letter.
    QSignalSpy exit(form.Exit1, &QAction::triggered);
    QTest::keyClick(file, Qt::Key_E);
    QTRY_COMPARE(exit.count(), 1);
    QVERIFY(!form.isVisible());
}

void TestMainForm::viewMenuZoomsBothViews()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Towns", "Alpha Town");
    auto* view = form.findChild<QMenu*>("View1");
    QVERIFY(view);
    QCOMPARE(view->title(), QStringLiteral("View"));
    const QList<QAction*> bar = form.menuBar()->actions();
    const qsizetype at = bar.indexOf(view->menuAction());
    QVERIFY(at > 0);
    QCOMPARE(bar[at - 1]->menu()->objectName(), QStringLiteral("Edit1"));
    auto* zoomIn = form.findChild<QAction*>("ZoomIn1");
    auto* zoomOut = form.findChild<QAction*>("ZoomOut1");
    auto* actual = form.findChild<QAction*>("ActualSize1");
    QVERIFY(zoomIn && zoomOut && actual);
    QCOMPARE(zoomIn->shortcut(), QKeySequence(QKeySequence::ZoomIn));
    QCOMPARE(zoomOut->shortcut(), QKeySequence(QKeySequence::ZoomOut));
    QCOMPARE(actual->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
    const auto checked = [&] {
        QStringList levels;
        for (QAction* a : view->actions())
            if (a->isChecked())
                levels << a->text();
        return levels;
    };
    QCOMPARE(checked(), QStringList{"100 %"});
    zoomIn->trigger();
    QCOMPARE(checked(), QStringList{"200 %"});
    QCOMPARE(form.mapPage->MapBox->size(), QSize(1280, 1152));   // 10 x 9 blocks at 200 %
    zoomIn->trigger();
    QVERIFY(!zoomIn->isEnabled());
    form.findChild<QAction*>("Zoom25_1")->trigger();
    QCOMPARE(checked(), QStringList{"25 %"});
    QVERIFY(!zoomOut->isEnabled());
    QCOMPARE(form.mapPage->MapBox->size(), QSize(160, 144));
    QCOMPARE(form.events->EventBox->zoom(), 25);
    actual->trigger();
    QCOMPARE(checked(), QStringList{"100 %"});
    QCOMPARE(form.mapPage->MapBox->size(), QSize(640, 576));
}

void TestMainForm::windowFitsTheScreenAndKeepsItsSize()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    const QSize available = form.screen()->availableGeometry().size();
    QCOMPARE(form.size(), (available * 2 / 3).expandedTo(TMainForm::DesignSize).boundedTo(available));
    form.resize(TMainForm::DesignSize);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSize before = form.size();
    // A map with wild encounters shows the encounter groups: the window stays as it is.
    f.pickMap("Routes", "Route 1");
    form.TabbedNotebook1->setCurrentIndex(2);
    QCoreApplication::processEvents();
    QCOMPARE(form.size(), before);
    QVERIFY(form.minimumSizeHint().width() <= TMainForm::DesignSize.width());
}

void TestMainForm::closedPanelComesBackFromTheViewMenu()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QList<QAction*> viewItems = form.viewMenu->View1->actions();
    const auto docks = form.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly);
    QVERIFY(docks.size() >= 2);
    for (QDockWidget* dock : docks) {
        QVERIFY2(viewItems.contains(dock->toggleViewAction()), qPrintable(dock->objectName()));
        dock->show();
        dock->close();
        QVERIFY(!dock->isVisible());
        dock->toggleViewAction()->trigger();
        QVERIFY2(dock->isVisible(), qPrintable(dock->objectName()));
    }
}

void TestMainForm::ownWindowClosesOnEscape_data()
{
    QTest::addColumn<QString>("window");
    for (const char* name : {"Block Editor", "Find Uses", "Check Catalogue", "Preferences"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMainForm::ownWindowClosesOnEscape()
{
    QFETCH(QString, window);
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    f.pickMap(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    QWidget* shown = nullptr;
    if (window == "Block Editor") {
        form.BlockEditor1->trigger();
        shown = form.blockEditor;
    } else if (window == "Find Uses") {
        shown = form.findUses;
        shown->show();
    } else if (window == "Check Catalogue") {
        shown = form.catalogueCheck;
        shown->show();
    } else {
        form.Preferences1->trigger();
        shown = form.preferences;
    }
    QVERIFY(shown->isVisible());
    shown->activateWindow();
    QTRY_COMPARE(QGuiApplication::focusWindow(), shown->windowHandle());
    QTest::keyClick(shown->windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY2(!shown->isVisible(), qPrintable(window));
}

QTEST_MAIN(TestMainForm)
#include "tst_main_form.moc"
