#include "widgets/jmenu.h"
#include "widgets/jmenu_keys.h"
#include "widgets/jmenu_metrics.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace {

// The main window's menus, as far as these checks need them: names,
// captions and start states as the editor has them before a ROM is loaded.
void buildMainMenus(QMenuBar* bar)
{
    auto add = [](QMenu* menu, const char* name, const char* caption, bool enabled = true) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    add(file, "LoadRom1", "Load Rom...");
    add(file, "SaveRom1", "Save Rom");
    add(file, "SaveRomAs1", "Save Rom As...");
    add(file, "LoadMap1", "Load Map...");
    add(file, "SaveMap1", "Save Map...");
    add(file, "Exit1", "Exit");
    QMenu* settings = bar->addMenu(QStringLiteral("Settings"));
    add(settings, "Grid1", "Show Grid")->setCheckable(true);
    QMenu* utilies = bar->addMenu(QStringLiteral("Utilies"));
    add(utilies, "BlockEditor1", "Block Editor...", false);
    add(utilies, "RomOptions1", "Rom Options...", false);
    add(utilies, "SaveMapPicture1", "Save Map Picture...", false);
    add(utilies, "SaveTilesetPicture1", "Save Tileset Picture...", false);
    QMenu* visible = utilies->addMenu(QStringLiteral("Visible Start Menu Options"));
    visible->menuAction()->setObjectName(QStringLiteral("VisibleMenuOptions1"));
    visible->menuAction()->setEnabled(false);
    add(utilies, "MakeAllMartsFree1", "Make All Marts Free", false);
    add(utilies, "BuildEvents1", "Build Events...", false);
    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    QMenu* links = help->addMenu(QStringLiteral("Links"));
    links->menuAction()->setObjectName(QStringLiteral("Links1"));
    add(links, "Link1", "Home page");
    add(help, "About1", "About...");
}

// The menu bar's actions at every depth, menu-bar items first.
QList<QAction*> allActions(QMenuBar* bar)
{
    QList<QAction*> found = bar->actions();
    for (qsizetype i = 0; i < found.size(); ++i)
        if (QMenu* menu = found[i]->menu())
            found += menu->actions();
    return found;
}

QAction* findAction(QMenuBar* bar, const QString& name)
{
    const auto actions = allActions(bar);
    for (QAction* action : actions)
        if (action->objectName() == name)
            return action;
    return nullptr;
}

// The drop-down menu that holds the item `name`.
QMenu* menuHolding(QMenuBar* bar, const QString& name)
{
    const auto actions = allActions(bar);
    for (QAction* action : actions)
        if (QMenu* menu = action->menu())
            for (QAction* item : menu->actions())
                if (item->objectName() == name)
                    return menu;
    return nullptr;
}

// The window these checks run on; to run them on the editor's main window,
// build that here instead.
std::unique_ptr<QMainWindow> makeWindow(TJMenu::TJMenuStyle style)
{
    auto window = std::make_unique<QMainWindow>();
    window->resize(480, 320);
    buildMainMenus(window->menuBar());
    auto* menu = new TJMenu(window->menuBar(), window.get());
    menu->setStyle(style);
    window->show();
    return window;
}

TJMenu* jmenuOf(QMainWindow& window)
{
    return window.findChild<TJMenu*>();
}

QImage grabbed(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Opens `menu` under the window's top-left corner.
void openMenu(QMainWindow& window, QMenu* menu)
{
    menu->popup(window.mapToGlobal(QPoint(10, window.menuBar()->height())));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
}

// Moves the pointer over `action` in the open `menu`, in a few steps as a
// hand would (a menu ignores the first small moves after it opens).
void hover(QMenu* menu, QAction* action)
{
    const QRect rect = menu->actionGeometry(action);
    for (int step = 0; step <= 8; ++step)
        QTest::mouseMove(menu, QPoint(rect.left() + rect.width() * step / 16, rect.center().y()));
}

int countColour(const QImage& image, const QRect& area, QColor colour)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                ++count;
    return count;
}

// The leftmost column of `area` holding a pixel of `colour`, or -1.
int leftmostColumn(const QImage& image, const QRect& area, QColor colour)
{
    const QRect inside = area.intersected(image.rect());
    for (int x = inside.left(); x <= inside.right(); ++x)
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            if (image.pixelColor(x, y) == colour)
                return x;
    return -1;
}

// A pixel well inside the item, away from its caption and its frame.
QColor backgroundOf(const QImage& image, const QRect& item)
{
    return image.pixelColor(item.right() - 2, item.top() + 2);
}

const QColor Yellow(255, 255, 0), Black(0, 0, 0), Orange(255, 128, 0), White(255, 255, 255),
    Olive(128, 128, 64), DarkGrey(70, 70, 70);

} // namespace

class TestJMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void letterKeyAnswers_data();
    void letterKeyAnswers();
    void accelerators_data();
    void accelerators();
    void measures_data();
    void measures();
    void frameEdges_data();
    void frameEdges();
    void shortcutCaptions_data();
    void shortcutCaptions();

    void itemColours_data();
    void itemColours();
    void disabledItemStaysOliveUnderPointer();
    void selectedItemFrame_data();
    void selectedItemFrame();
    void menuBarItems();
    void checkMarkKeepsTextOffset();
    void radioItemShowsBullet();
    void itemsAreMeasured();
    void letterExecutesSingleMatch();
    void letterSelectsNextMatch();
    void disabledFirstLetterClosesMenu();
    void letterOpensSubmenu();
    void menusAddedLaterAreDrawn();
    void standardStyleLeavesMenuToPlatform();
    void imagesAndMinTextOffsetMoveCaption();
    void hooksChangeItems();
};

void TestJMenu::initTestCase()
{
    // The offscreen platform reports every window feature it lacks.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith(QLatin1String("This plugin does not support")))
            previous(type, context, text);
    });
    // Glyphs without smoothing, so that text pixels have exactly the text colour.
    QFont font = QApplication::font();
    font.setStyleStrategy(QFont::NoAntialias);
    QApplication::setFont(font);
    QApplication::setFont(font, "QMenu");
    QApplication::setFont(font, "QMenuBar");
}

void TestJMenu::cleanup()
{
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

void TestJMenu::letterKeyAnswers_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<bool>>("enabled");
    QTest::addColumn<int>("highlighted");
    QTest::addColumn<QChar>("key");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("index");

    const QStringList file{"Load Rom...", "Save Rom", "Save Rom As...",
                           "Load Map...", "Save Map...", "Exit"};
    const QList<bool> allOn(6, true);
    using A = TJMenuKeyAnswer;
    QTest::newRow("one match executes") << file << allOn << -1 << QChar('E') << int(A::Execute) << 5;
    QTest::newRow("letter case ignored") << file << allOn << -1 << QChar('e') << int(A::Execute) << 5;
    QTest::newRow("none highlighted: first") << file << allOn << -1 << QChar('s') << int(A::Select) << 1;
    QTest::newRow("next after highlighted") << file << allOn << 1 << QChar('S') << int(A::Select) << 2;
    QTest::newRow("skips non-matching") << file << allOn << 2 << QChar('S') << int(A::Select) << 4;
    QTest::newRow("none follows: first") << file << allOn << 5 << QChar('S') << int(A::Select) << 1;
    QTest::newRow("no match") << file << allOn << 0 << QChar('Q') << int(A::Ignore) << -1;
    QTest::newRow("disabled match closes")
        << file << QList<bool>{true, true, true, true, true, false} << -1 << QChar('E')
        << int(A::Close) << -1;
    QTest::newRow("any disabled match closes")
        << file << QList<bool>{true, true, true, true, false, true} << 0 << QChar('S')
        << int(A::Close) << -1;
    const QStringList marked{"&Open", "Save &As", "S&ettings", "Sort"};
    QTest::newRow("accelerator first") << marked << QList<bool>(4, true) << -1 << QChar('a')
                                       << int(A::Execute) << 1;
    QTest::newRow("accelerator beats first letter")
        << marked << QList<bool>(4, true) << -1 << QChar('E') << int(A::Execute) << 2;
    QTest::newRow("first letters of marked captions")
        << marked << QList<bool>(4, true) << -1 << QChar('s') << int(A::Select) << 1;
    QTest::newRow("first letter when no accelerator")
        << QStringList{"&Open", "E&xit", "Sort"} << QList<bool>(3, true) << -1 << QChar('S')
        << int(A::Execute) << 2;
    QTest::newRow("disabled accelerator does not close")
        << marked << QList<bool>{false, true, true, true} << -1 << QChar('o') << int(A::Execute)
        << 0;
    QTest::newRow("empty captions") << QStringList{"", ""} << QList<bool>{true, true} << -1
                                    << QChar('x') << int(A::Ignore) << -1;
}

void TestJMenu::letterKeyAnswers()
{
    QFETCH(QStringList, captions);
    QFETCH(QList<bool>, enabled);
    QFETCH(int, highlighted);
    QFETCH(QChar, key);
    QFETCH(int, kind);
    QFETCH(int, index);
    QList<TJMenuKeyItem> items;
    for (qsizetype i = 0; i < captions.size(); ++i)
        items.append({captions[i], enabled[i]});
    const TJMenuKeyAnswer answer = jmenuMenuCharacter(key, items, highlighted);
    QCOMPARE(int(answer.kind), kind);
    QCOMPARE(answer.index, index);
}

void TestJMenu::accelerators_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QChar>("letter");
    QTest::newRow("none") << "Exit" << QChar();
    QTest::newRow("first") << "&File" << QChar('F');
    QTest::newRow("inside") << "Save &As" << QChar('A');
    QTest::newRow("literal ampersand") << "Salt && &Pepper" << QChar('P');
    QTest::newRow("only literal") << "A && B" << QChar();
    QTest::newRow("trailing") << "End&" << QChar();
}

void TestJMenu::accelerators()
{
    QFETCH(QString, caption);
    QFETCH(QChar, letter);
    QCOMPARE(jmenuAccelerator(caption), letter);
}

void TestJMenu::measures_data()
{
    QTest::addColumn<int>("cw");
    QTest::addColumn<bool>("checks");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("dropOffset");
    QTest::addColumn<int>("barOffset");
    QTest::addColumn<int>("extraWidth"); // drop-down width beyond the caption
    QTest::newRow("13 with marks") << 13 << true << 4 << 21 << 6 << 21;
    QTest::newRow("13 without marks") << 13 << false << 4 << 10 << 6 << 8;
    QTest::newRow("15 halves up") << 15 << true << 5 << 25 << 7 << 25;  // 4.5 -> 5
    QTest::newRow("16") << 16 << true << 5 << 26 << 7 << 26;             // 4.8 -> 5
    QTest::newRow("11") << 11 << true << 3 << 17 << 5 << 17;             // 3.3 -> 3
}

void TestJMenu::measures()
{
    QFETCH(int, cw);
    QFETCH(bool, checks);
    QFETCH(int, m);
    QFETCH(int, dropOffset);
    QFETCH(int, barOffset);
    QFETCH(int, extraWidth);
    TJMenuMetrics metrics;
    metrics.checkWidth = cw;
    metrics.checkHeight = cw;
    metrics.barHeight = 20;
    metrics.showCheckMarks = checks;
    QCOMPARE(metrics.margin(), m);
    QCOMPARE(metrics.textOffset(true), dropOffset);
    QCOMPARE(metrics.textOffset(false), barOffset);

    const QFontMetrics font(QApplication::font());
    const int caption = font.size(Qt::TextSingleLine, QStringLiteral("Save Rom")).width();
    QCOMPARE(metrics.measure(font, "Save Rom", true, false, 0).width(), caption + extraWidth);
    QCOMPARE(metrics.measure(font, "Save Rom", false, false, 0).width(), caption);
    QCOMPARE(metrics.measure(font, "&Save Rom", false, false, 0).width(), caption);
    QCOMPARE(metrics.measure(font, "Save Rom", true, false, 7).width(), caption + extraWidth + 7);
    QCOMPARE(metrics.measure(font, "Save Rom", true, false, 0).height(),
             qMax(18, font.height()));
    QCOMPARE(metrics.measure(font, "-", true, true, 0).height(), qMax(font.height() / 2, 9));

    // The check mark sits centred in the room left of the caption.
    const QRect item(10, 30, 120, 19);
    const QRect check = metrics.checkRect(item);
    QCOMPARE(check.left(), 10 + (dropOffset - cw) / 2);
    QCOMPARE(check.top(), (30 + 49 - cw) / 2);
    QCOMPARE(check.size(), QSize(cw, cw));
}

void TestJMenu::frameEdges_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QColor>("topLeft");
    QTest::addColumn<QColor>("bottomRight");
    QTest::newRow("lowered") << int(TJMenuButtonStyle::Lowered) << QColor(200, 80, 1)
                             << QColor(255, 200, 100);
    QTest::newRow("raised") << int(TJMenuButtonStyle::Raised) << QColor(0, 0, 255)
                            << QColor(128, 0, 0);
}

void TestJMenu::frameEdges()
{
    QFETCH(int, style);
    QFETCH(QColor, topLeft);
    QFETCH(QColor, bottomRight);
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Yellow);
    {
        QPainter painter(&image);
        jmenuDrawFrame(painter, QRect(5, 4, 10, 8), jmenuFrameColors(TJMenuButtonStyle(style)));
    }
    QCOMPARE(image.pixelColor(5, 4), topLeft);
    QCOMPARE(image.pixelColor(13, 4), topLeft);
    QCOMPARE(image.pixelColor(5, 10), topLeft);
    QCOMPARE(image.pixelColor(14, 4), bottomRight); // top-right corner
    QCOMPARE(image.pixelColor(5, 11), bottomRight); // bottom-left corner
    QCOMPARE(image.pixelColor(14, 11), bottomRight);
    QCOMPARE(image.pixelColor(14, 7), bottomRight);
    QCOMPARE(image.pixelColor(9, 11), bottomRight);
    QCOMPARE(image.pixelColor(6, 5), Yellow);         // inside untouched
    QCOMPARE(image.pixelColor(4, 4), Yellow);         // nothing outside
    QCOMPARE(image.pixelColor(15, 12), Yellow);
    QCOMPARE(countColour(image, image.rect(), topLeft), 9 + 7 - 1);
    QCOMPARE(countColour(image, image.rect(), bottomRight), 8 + 10 - 1);
}

void TestJMenu::shortcutCaptions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << "Save Rom" << "Save Rom";
    QTest::newRow("shortcut") << "Save Rom\tCtrl+S" << "Save Rom\t\tCtrl+S";
}

void TestJMenu::shortcutCaptions()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(jmenuDropDownCaption(text), shown);
}

void TestJMenu::itemColours_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::newRow("normal") << "LoadRom1" << false << Yellow << Black;
    QTest::newRow("selected") << "SaveRom1" << true << Orange << White;
    QTest::newRow("disabled") << "BlockEditor1" << false << Olive << DarkGrey;
    QTest::newRow("disabled under pointer") << "BlockEditor1" << true << Olive << DarkGrey;
}

void TestJMenu::itemColours()
{
    QFETCH(QString, item);
    QFETCH(bool, hovered);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QAction* action = findAction(bar, item);
    QMenu* menu = menuHolding(bar, item);
    QVERIFY(action && menu);
    openMenu(*window, menu);
    if (hovered) {
        hover(menu, action);
        QCOMPARE(menu->activeAction(), action);
    }
    const QImage image = grabbed(menu);
    const QRect rect = menu->actionGeometry(action);
    QCOMPARE(backgroundOf(image, rect), background);
    QVERIFY(countColour(image, rect, text) > 10);
    for (QColor other : {Black, White, DarkGrey})
        if (other != text)
            QCOMPARE(countColour(image, rect, other), 0);
}

void TestJMenu::disabledItemStaysOliveUnderPointer()
{
    // Before a ROM is loaded every item of "Utilies" is disabled.
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QMenu* utilies = menuHolding(bar, "BlockEditor1");
    openMenu(*window, utilies);
    QAction* blockEditor = findAction(bar, "BlockEditor1");
    QAction* romOptions = findAction(bar, "RomOptions1");
    hover(utilies, romOptions);
    hover(utilies, blockEditor);
    QCOMPARE(utilies->activeAction(), blockEditor);
    const QImage image = grabbed(utilies);
    const QRect rect = utilies->actionGeometry(blockEditor);
    // Olive all across the inside: no orange anywhere in the item.
    QCOMPARE(countColour(image, rect, Orange), 0);
    QVERIFY(countColour(image, rect.adjusted(1, 1, -1, -1), Olive) > rect.width() * rect.height() / 2);
    QCOMPARE(backgroundOf(image, utilies->actionGeometry(romOptions)), Olive);
    // Clicking a disabled item does nothing.
    QSignalSpy triggered(blockEditor, &QAction::triggered);
    QTest::mouseClick(utilies, Qt::LeftButton, {}, rect.center());
    QCOMPARE(triggered.count(), 0);
}

void TestJMenu::selectedItemFrame_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QColor>("topLeft");
    QTest::addColumn<QColor>("bottomRight");
    QTest::newRow("lowered") << int(TJMenu::msBtnLowered) << QColor(200, 80, 1)
                             << QColor(255, 200, 100);
    QTest::newRow("raised") << int(TJMenu::msBtnRaised) << QColor(0, 0, 255) << QColor(128, 0, 0);
    QTest::newRow("owner draw: no frame") << int(TJMenu::msOwnerDraw) << Orange << Orange;
}

void TestJMenu::selectedItemFrame()
{
    QFETCH(int, style);
    QFETCH(QColor, topLeft);
    QFETCH(QColor, bottomRight);
    auto window = makeWindow(TJMenu::TJMenuStyle(style));
    QMenuBar* bar = window->menuBar();
    QMenu* file = menuHolding(bar, "SaveRomAs1");
    QAction* saveAs = findAction(bar, "SaveRomAs1");
    openMenu(*window, file);
    hover(file, saveAs);
    const QImage image = grabbed(file);
    const QRect rect = file->actionGeometry(saveAs);
    const int midX = rect.left() + rect.width() * 3 / 4, midY = rect.center().y();
    QCOMPARE(image.pixelColor(midX, rect.top()), topLeft);
    QCOMPARE(image.pixelColor(rect.left(), midY), topLeft);
    QCOMPARE(image.pixelColor(midX, rect.bottom()), bottomRight);
    QCOMPARE(image.pixelColor(rect.right(), midY), bottomRight);
    QCOMPARE(image.pixelColor(rect.right() - 1, rect.top() + 1), Orange);
    // The items around it have no frame.
    const QRect above = file->actionGeometry(findAction(bar, "SaveRom1"));
    QCOMPARE(image.pixelColor(midX, above.bottom()), Yellow);
    QCOMPARE(image.pixelColor(above.left(), above.center().y()), Yellow);
}

void TestJMenu::menuBarItems()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QAction* file = bar->actions().at(0);
    QAction* settings = bar->actions().at(1);
    const QRect fileRect = bar->actionGeometry(file);
    const QRect settingsRect = bar->actionGeometry(settings);

    QImage image = grabbed(bar);
    QCOMPARE(backgroundOf(image, fileRect), Yellow);
    QVERIFY(countColour(image, fileRect, Black) > 10);
    // The caption starts M + 2 pixels in.
    const int f = jmenuOf(*window)->metricsFor(bar).textOffset(false);
    const int textLeft = leftmostColumn(image, fileRect, Black);
    QVERIFY2(qAbs(textLeft - (fileRect.left() + f)) <= 1, qPrintable(QString::number(textLeft)));

    QTest::mouseClick(bar, Qt::LeftButton, {}, settingsRect.center());
    QCOMPARE(bar->activeAction(), settings);
    QTRY_VERIFY(settings->menu()->isVisible());
    image = grabbed(bar);
    QCOMPARE(backgroundOf(image, settingsRect), Orange);
    QVERIFY(countColour(image, settingsRect, White) > 10);
    QCOMPARE(image.pixelColor(settingsRect.center().x(), settingsRect.top()), QColor(200, 80, 1));
    QCOMPARE(image.pixelColor(settingsRect.left(), settingsRect.center().y()), QColor(200, 80, 1));
    QCOMPARE(image.pixelColor(settingsRect.center().x(), settingsRect.bottom()),
             QColor(255, 200, 100));
    QCOMPARE(image.pixelColor(settingsRect.right(), settingsRect.center().y()),
             QColor(255, 200, 100));
    QCOMPARE(backgroundOf(image, fileRect), Yellow);
    // Bar items show no check mark room: the same offset while selected.
    QCOMPARE(leftmostColumn(image, settingsRect.adjusted(1, 1, -1, -1), White),
             settingsRect.left() + f + (textLeft - fileRect.left() - f));
}

void TestJMenu::checkMarkKeepsTextOffset()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QAction* grid = findAction(bar, "Grid1");
    QMenu* settings = menuHolding(bar, "Grid1");
    const TJMenuMetrics metrics = jmenuOf(*window)->metricsFor(settings);
    const int f = metrics.textOffset(true);

    openMenu(*window, settings);
    const QRect rect = settings->actionGeometry(grid);
    const QRect check = metrics.checkRect(rect);
    const QRect captionArea(rect.left() + f - 1, rect.top(), rect.width() - f + 1, rect.height());

    QImage image = grabbed(settings);
    QCOMPARE(countColour(image, QRect(rect.left(), rect.top(), f - 1, rect.height()), Black), 0);
    const int plainLeft = leftmostColumn(image, captionArea, Black);
    QVERIFY2(plainLeft >= rect.left() + f && plainLeft <= rect.left() + f + 2,
             qPrintable(QString("%1 vs %2").arg(plainLeft).arg(rect.left() + f)));

    grid->setChecked(true);
    image = grabbed(settings);
    QVERIFY(countColour(image, check, Black) >= metrics.checkWidth / 2);
    QCOMPARE(countColour(image, QRect(rect.left(), rect.top(), check.left() - rect.left(),
                                      rect.height()),
                         Black),
             0);
    QCOMPARE(leftmostColumn(image, captionArea, Black), plainLeft);
    QCOMPARE(settings->actionGeometry(grid), rect);

    // Without check marks the caption moves to 2M + 2 and no mark is drawn.
    jmenuOf(*window)->setShowCheckMarks(false);
    image = grabbed(settings);
    const QRect moved = settings->actionGeometry(grid);
    const int f2 = 2 * metrics.margin() + 2;
    const int leftNow = leftmostColumn(image, moved, Black);
    QVERIFY2(leftNow >= moved.left() + f2 && leftNow <= moved.left() + f2 + 2,
             qPrintable(QString::number(leftNow)));
    QCOMPARE(leftNow - moved.left() - f2, plainLeft - rect.left() - f);
}

void TestJMenu::radioItemShowsBullet()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QMenu* settings = menuHolding(bar, "Grid1");
    auto* group = new QActionGroup(settings);
    QAction* small = group->addAction(QStringLiteral("Small"));
    QAction* large = group->addAction(QStringLiteral("Large"));
    small->setCheckable(true);
    large->setCheckable(true);
    settings->addActions({small, large});
    large->setChecked(true);
    QAction* grid = findAction(bar, "Grid1");
    grid->setChecked(true);
    const TJMenuMetrics metrics = jmenuOf(*window)->metricsFor(settings);
    openMenu(*window, settings);
    const QImage image = grabbed(settings);
    const QRect bullet = metrics.checkRect(settings->actionGeometry(large));
    QCOMPARE(countColour(image, metrics.checkRect(settings->actionGeometry(small)), Black), 0);
    QVERIFY(countColour(image, bullet, Black) >= 9);
    // A bullet is round: it looks the same mirrored, unlike the tick.
    auto mirrored = [&](const QRect& box) {
        const QImage part = image.copy(box);
        return part == part.mirrored(true, false);
    };
    QVERIFY(mirrored(bullet));
    QVERIFY(!mirrored(metrics.checkRect(settings->actionGeometry(grid))));
}

void TestJMenu::itemsAreMeasured()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QMenu* file = menuHolding(bar, "Exit1");
    TJMenu* menu = jmenuOf(*window);
    const TJMenuMetrics metrics = menu->metricsFor(file);
    const QFontMetrics font(file->font());
    openMenu(*window, file);
    const int height = qMax(metrics.baseHeight(), font.height());
    const int widest = font.horizontalAdvance(QStringLiteral("Save Rom As..."));
    for (QAction* action : file->actions()) {
        const QRect rect = file->actionGeometry(action);
        QCOMPARE(rect.height(), height);
        QVERIFY(rect.width() >= widest + 2 * metrics.margin() + metrics.checkWidth);
    }
    const QRect fileItem = bar->actionGeometry(bar->actions().at(0));
    QCOMPARE(fileItem.height(), qMax(metrics.baseHeight(), QFontMetrics(bar->font()).height()));
    QVERIFY(fileItem.width() >= QFontMetrics(bar->font()).horizontalAdvance("File")
                                    + metrics.textOffset(false));
}

void TestJMenu::letterExecutesSingleMatch()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QMenu* file = menuHolding(bar, "Exit1");
    QAction* exit = findAction(bar, "Exit1");
    QSignalSpy exitSpy(exit, &QAction::triggered);
    QSignalSpy anySpy(file, &QMenu::triggered);
    openMenu(*window, file);
    QTest::keyClick(file, Qt::Key_E);
    QCOMPARE(exitSpy.count(), 1);
    QCOMPARE(anySpy.count(), 1);
    QTRY_VERIFY(!file->isVisible());
}

void TestJMenu::letterSelectsNextMatch()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QMenu* file = menuHolding(bar, "Exit1");
    QSignalSpy anySpy(file, &QMenu::triggered);
    openMenu(*window, file);
    QTest::keyClick(file, Qt::Key_Up); // from nothing to the last item
    QCOMPARE(file->activeAction(), findAction(bar, "Exit1"));
    QTest::keyClick(file, Qt::Key_S);
    QCOMPARE(file->activeAction(), findAction(bar, "SaveRom1"));
    QTest::keyClick(file, Qt::Key_S);
    QCOMPARE(file->activeAction(), findAction(bar, "SaveRomAs1"));
    QTest::keyClick(file, Qt::Key_S);
    QCOMPARE(file->activeAction(), findAction(bar, "SaveMap1"));
    QTest::keyClick(file, Qt::Key_S);
    QCOMPARE(file->activeAction(), findAction(bar, "SaveRom1"));
    QVERIFY(file->isVisible());
    QCOMPARE(anySpy.count(), 0);
    // The selection is drawn.
    const QImage image = grabbed(file);
    QCOMPARE(backgroundOf(image, file->actionGeometry(findAction(bar, "SaveRom1"))), Orange);
    QCOMPARE(backgroundOf(image, file->actionGeometry(findAction(bar, "Exit1"))), Yellow);
    // Return carries out the selected item.
    QSignalSpy saveSpy(findAction(bar, "SaveRom1"), &QAction::triggered);
    QTest::keyClick(file, Qt::Key_Return);
    QCOMPARE(saveSpy.count(), 1);
}

void TestJMenu::disabledFirstLetterClosesMenu()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QMenu* utilies = menuHolding(bar, "BlockEditor1");
    QSignalSpy anySpy(utilies, &QMenu::triggered);
    bar->setActiveAction(utilies->menuAction());
    QVERIFY(QTest::qWaitForWindowExposed(utilies));
    QTest::keyClick(utilies, Qt::Key_B);
    QTRY_VERIFY(!utilies->isVisible());
    QCOMPARE(anySpy.count(), 0);
    QVERIFY(!QApplication::activePopupWidget());

    // A letter no caption starts with leaves the menu open.
    bar->setActiveAction(utilies->menuAction());
    QVERIFY(QTest::qWaitForWindowExposed(utilies));
    QTest::keyClick(utilies, Qt::Key_Q);
    QVERIFY(utilies->isVisible());
}

void TestJMenu::letterOpensSubmenu()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    QMenu* help = menuHolding(bar, "About1");
    QMenu* links = findAction(bar, "Links1")->menu();
    openMenu(*window, help);
    QTest::keyClick(help, Qt::Key_L);
    QTRY_VERIFY(links->isVisible());
    // The submenu is drawn in the menu's colours and takes letters too.
    const QImage image = grabbed(links);
    QAction* home = findAction(bar, "Link1");
    QVERIFY(backgroundOf(image, links->actionGeometry(home)) == Yellow
            || backgroundOf(image, links->actionGeometry(home)) == Orange);
    QSignalSpy homeSpy(home, &QAction::triggered);
    QTest::keyClick(links, Qt::Key_H);
    QCOMPARE(homeSpy.count(), 1);
    QTRY_VERIFY(!help->isVisible());
}

void TestJMenu::menusAddedLaterAreDrawn()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    // A submenu filled after the menu bar was taken over, and a new bar menu.
    QMenu* visible = findAction(bar, "VisibleMenuOptions1")->menu();
    QAction* pokedex = visible->addAction(QStringLiteral("Pokedex"));
    pokedex->setCheckable(true);
    pokedex->setChecked(true);
    QMenu* later = new QMenu(QStringLiteral("Later"), window.get());
    QAction* one = later->addAction(QStringLiteral("One"));
    QMenu* deeper = new QMenu(QStringLiteral("Deeper"), later);
    QAction* deep = deeper->addAction(QStringLiteral("Deep"));
    later->addAction(deeper->menuAction());
    bar->addMenu(later);
    QAction* enabledLater = findAction(bar, "BlockEditor1");
    enabledLater->setEnabled(true);

    for (auto [menu, action] : {std::pair{visible, pokedex}, {later, one}, {deeper, deep}}) {
        openMenu(*window, menu);
        const QImage image = grabbed(menu);
        QCOMPARE(backgroundOf(image, menu->actionGeometry(action)), Yellow);
        menu->close();
    }
    QMenu* utilies = menuHolding(bar, "BlockEditor1");
    openMenu(*window, utilies);
    QCOMPARE(backgroundOf(grabbed(utilies), utilies->actionGeometry(enabledLater)), Yellow);
    // Letters work in the new menu as well.
    utilies->close();
    openMenu(*window, later);
    QSignalSpy oneSpy(one, &QAction::triggered);
    QTest::keyClick(later, Qt::Key_O);
    QCOMPARE(oneSpy.count(), 1);

    // A menu taken over before its menus were built draws them all.
    QMainWindow early;
    auto* earlyMenu = new TJMenu(early.menuBar(), &early);
    earlyMenu->setStyle(TJMenu::msBtnLowered);
    buildMainMenus(early.menuBar());
    early.show();
    QCOMPARE(backgroundOf(grabbed(early.menuBar()),
                          early.menuBar()->actionGeometry(early.menuBar()->actions().at(0))),
             Yellow);
    QMenu* links = findAction(early.menuBar(), "Links1")->menu();
    openMenu(early, links);
    QCOMPARE(backgroundOf(grabbed(links), links->actionGeometry(links->actions().at(0))), Yellow);
}

void TestJMenu::standardStyleLeavesMenuToPlatform()
{
    auto window = makeWindow(TJMenu::msStandard);
    QMenuBar* bar = window->menuBar();
    TJMenu* menu = jmenuOf(*window);
    QMenu* file = menuHolding(bar, "Exit1");
    auto platformDrawn = [&] {
        if (menu->isOwnerDrawn() || bar->style() != QApplication::style())
            return false;
        for (QAction* action : allActions(bar))
            if (action->menu() && action->menu()->style() != QApplication::style())
                return false;
        return true;
    };
    QVERIFY(platformDrawn());
    openMenu(*window, file);
    const QImage image = grabbed(file);
    QAction* exit = findAction(bar, "Exit1");
    QVERIFY(backgroundOf(image, file->actionGeometry(exit)) != Yellow);
    QCOMPARE(countColour(image, image.rect(), Yellow), 0);
    QCOMPARE(countColour(grabbed(bar), bar->rect(), Yellow), 0);
    // The platform's menu knows no first-letter search: E does nothing.
    QSignalSpy exitSpy(exit, &QAction::triggered);
    QTest::keyClick(file, Qt::Key_E);
    QCOMPARE(exitSpy.count(), 0);
    file->close();

    // Switching styles takes the menus over and gives them back.
    menu->setStyle(TJMenu::msBtnLowered);
    QVERIFY(!platformDrawn());
    openMenu(*window, file);
    QCOMPARE(backgroundOf(grabbed(file), file->actionGeometry(exit)), Yellow);
    file->close();
    menu->setStyle(TJMenu::msStandard);
    QVERIFY(platformDrawn());
    openMenu(*window, file);
    QCOMPARE(countColour(grabbed(file), file->rect(), Yellow), 0);
    QTest::keyClick(file, Qt::Key_E);
    QCOMPARE(exitSpy.count(), 0);
    file->close();

    // Images alone make the menu owner-drawn.
    QPixmap red(16, 16);
    red.fill(Qt::red);
    menu->setImages({QIcon(red)});
    QVERIFY(!platformDrawn());
    menu->setImages({});
    QVERIFY(platformDrawn());
}

void TestJMenu::imagesAndMinTextOffsetMoveCaption()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    TJMenu* menu = jmenuOf(*window);
    QMenu* file = menuHolding(bar, "Exit1");
    QAction* exit = findAction(bar, "Exit1");
    QAction* load = findAction(bar, "LoadRom1");
    const TJMenuMetrics metrics = menu->metricsFor(file);
    openMenu(*window, file);
    auto captionLeft = [&](QAction* action) {
        const QImage image = grabbed(file);
        const QRect rect = file->actionGeometry(action);
        return leftmostColumn(image, rect, Black) - rect.left();
    };
    const int plain = captionLeft(exit);
    const int plainWidth = file->width();

    QPixmap red(16, 16);
    red.fill(Qt::red);
    menu->setImages({QIcon(red)});
    menu->OnGetImageIndex = [exit](QAction* action) { return action == exit ? 0 : 5; };
    menu->refresh();
    QCOMPARE(captionLeft(exit), plain + 16 + metrics.margin());
    QCOMPARE(captionLeft(load), plain); // index 5 is no image
    QImage image = grabbed(file);
    QRect rect = file->actionGeometry(exit);
    QCOMPARE(countColour(image, rect, QColor(Qt::red)), 16 * 16);
    QCOMPARE(leftmostColumn(image, rect, QColor(Qt::red)), rect.left() + metrics.textOffset(true));

    menu->setMinTextOffset(40);
    QCOMPARE(captionLeft(exit), plain + 40);
    QCOMPARE(captionLeft(load), plain + 40);
    QCOMPARE(file->width(), plainWidth + 40); // every item measured 40 wider
}

void TestJMenu::hooksChangeItems()
{
    auto window = makeWindow(TJMenu::msBtnLowered);
    QMenuBar* bar = window->menuBar();
    TJMenu* menu = jmenuOf(*window);
    QMenu* file = menuHolding(bar, "Exit1");
    QAction* exit = findAction(bar, "Exit1");
    QAction* load = findAction(bar, "LoadRom1");
    QList<QAction*> measured;
    menu->OnMeasureItem = [&](QAction* action, QSize& size) {
        measured.append(action);
        if (action == exit)
            size.rheight() = 40;
    };
    menu->OnGetItemParams = [exit](QAction* action, TJMenuItemParams& params) {
        if (action == exit)
            params.background = QColor(0, 128, 0);
    };
    menu->OnDrawItem = [load](QAction* action, QPainter& painter, const QRect& rect,
                              const TJMenuItemParams& params) {
        if (action != load)
            return false;
        painter.fillRect(rect, params.dropDown ? QColor(0, 0, 128) : Qt::red);
        return true;
    };
    openMenu(*window, file);
    QVERIFY(measured.contains(exit));
    QVERIFY(measured.contains(load));
    QCOMPARE(file->actionGeometry(exit).height(), 40);
    const QImage image = grabbed(file);
    QCOMPARE(backgroundOf(image, file->actionGeometry(exit)), QColor(0, 128, 0));
    QVERIFY(countColour(image, file->actionGeometry(exit), Black) > 10);
    const QRect loadRect = file->actionGeometry(load);
    QCOMPARE(countColour(image, loadRect, QColor(0, 0, 128)), loadRect.width() * loadRect.height());
}

QTEST_MAIN(TestJMenu)
#include "tst_jmenu.moc"
