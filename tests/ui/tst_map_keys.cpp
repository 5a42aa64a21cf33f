// The keyboard where the user works, and the stamp habits of the map view:
// Paste in Place, flips, Shift lines and Space panning, driven with real
// mouse and key events from a map picked in the chooser.
#include "ui_support/map_page_editor.h"
#include "ui_support/editor_fixture.h"

#include "session/editor_session.h"
#include "ui/main/tools_menu.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {
constexpr qint64 AlphaStart = 0x1000;   // 10 x 9
constexpr qint64 BetaStart = 0x2000;    // 4 x 4
constexpr qint64 RouteStart = 12288;    // 20 x 18

using mappage::centre;
using mappage::send;

struct Editor : mappage::Editor {
    // A pick as a user makes it: the category from its list, then the map's
    // name typed into the map chooser and Return.
    void choose(const QString& category, const QString& map)
    {
        pickCategory(category);
        QLineEdit* name = form->SubBox->lineEdit();
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, map);
        key(Qt::Key_Return);
        QCOMPARE(state->core.map.name, map);
    }
    int rom(qint64 start, int width, int column, int row) const
    {
        return state->core.rom.byteAt(start + qint64(row) * width + column);
    }
    int undoCount() const { return form->session->undoStack().count(); }
    // Keys go where the window system sends them: to the widget with the keyboard.
    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(form->windowHandle(), Qt::Key(key), modifiers);
    }
    void drag(QPoint from, QPoint to, Qt::MouseButton button)
    {
        QTest::mousePress(view(), button, {}, from);
        send(view(), QEvent::MouseMove, to, Qt::NoButton, button);
        QTest::mouseRelease(view(), button, {}, to);
    }
};
}

class TestMapKeys : public QObject {
    Q_OBJECT
private slots:
    void pickGivesTheMapViewTheKeyboard();
    void mapPageBroughtUpTakesTheKeyboard_data();
    void mapPageBroughtUpTakesTheKeyboard();
    void openMenuTakesItsLettersAndEscapeGivesTheKeyboardBack_data();
    void openMenuTakesItsLettersAndEscapeGivesTheKeyboardBack();
    void letterTypedInTheCategoryChooserReachesItsEntry();
    void previewLeavesWithThePointer();
    void f10OpensFileAndArrowsWalkTheMenus();
    void pasteInPlace_data();
    void pasteInPlace();
    void flippedStamp_data();
    void flippedStamp();
    void shiftClickPaintsALine_data();
    void shiftClickPaintsALine();
    void spaceDragPansWithoutPainting();
};

void TestMapKeys::pickGivesTheMapViewTheKeyboard()
{
    Editor e;
    e.choose(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    QCOMPARE(QApplication::focusWidget(), e.view());
    e.key(Qt::Key_R);
    QVERIFY(e.form->toolsMenu->SelectTool1->isChecked());
    QCOMPARE(e.form->SubBox->currentText(), QStringLiteral("Alpha Town"));
    e.drag(centre(1, 2), centre(3, 3), Qt::LeftButton);
    QCOMPARE(e.form->mapPage->selection(), QRect(1, 2, 3, 2));
    QCOMPARE(e.undoCount(), 0);
    e.key(Qt::Key_C, Qt::ControlModifier);
    QString copied;
    for (int y = 2; y <= 3; ++y)
        copied += QStringLiteral("%1 %2 %3\n")
                      .arg(e.rom(AlphaStart, 10, 1, y), 2, 16, QLatin1Char('0'))
                      .arg(e.rom(AlphaStart, 10, 2, y), 2, 16, QLatin1Char('0'))
                      .arg(e.rom(AlphaStart, 10, 3, y), 2, 16, QLatin1Char('0'))
                      .toUpper();
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
}

void TestMapKeys::mapPageBroughtUpTakesTheKeyboard_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how : {"Map tab", "Ctrl+Tab", "Ctrl+Shift+Tab twice", "by the program", "palette click"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestMapKeys::mapPageBroughtUpTakesTheKeyboard()
{
    QFETCH(QString, how);
    Editor e;
    QTabWidget* pages = e.form->TabbedNotebook1;
    pages->setCurrentIndex(2);   // where the program starts
    e.choose(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    QVERIFY(QApplication::focusWidget() != e.view());
    if (how == "Map tab") {
        QTabBar* tabs = pages->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    } else if (how == "Ctrl+Tab") {
        e.key(Qt::Key_Tab, Qt::ControlModifier);
    } else if (how == "Ctrl+Shift+Tab twice") {
        e.key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages->currentIndex(), 1);
        e.key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    } else if (how == "by the program") {
        e.form->MainBox->setFocus();   // the keyboard outside the pages
        pages->setCurrentIndex(0);
    } else {
        pages->setCurrentIndex(0);
        e.form->MainBox->setFocus();   // the keyboard elsewhere, then a block chosen
        QTest::mouseClick(e.form->mapPage->BlockPalette, Qt::LeftButton, {}, QPoint(20, 64 * 3 + 20));
        QCOMPARE(e.form->session->stamp().selectedBlock(), 4);
    }
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), e.view());
    e.key(Qt::Key_R);
    QVERIFY(e.form->toolsMenu->SelectTool1->isChecked());
    e.drag(centre(1, 2), centre(3, 3), Qt::LeftButton);
    QCOMPARE(e.form->mapPage->selection(), QRect(1, 2, 3, 2));
    QCOMPARE(e.undoCount(), 0);
}

void TestMapKeys::openMenuTakesItsLettersAndEscapeGivesTheKeyboardBack_data()
{
    QTest::addColumn<bool>("withMouse");
    QTest::newRow("Utilies opened with the mouse, Escape") << true;
    QTest::newRow("F10, Right, Escape, Escape") << false;
}

void TestMapKeys::openMenuTakesItsLettersAndEscapeGivesTheKeyboardBack()
{
    QFETCH(bool, withMouse);
    Editor e;
    e.choose(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    QMenuBar* bar = e.form->menuBar();
    const auto menuNamed = [bar](const char* name) {
        QMenu* menu = bar->findChild<QMenu*>(QLatin1String(name));
        return menu;
    };
    const auto openWithMouse = [bar](QMenu* menu) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
    };
    QMenu* file = menuNamed("File1");
    if (withMouse) {
        QMenu* utilities = menuNamed("Utilies1");
        openWithMouse(utilities);
        QTest::keyClick(utilities, Qt::Key_Escape);
        QTRY_VERIFY(!utilities->isVisible());
    } else {
        e.key(Qt::Key_F10);
        QTRY_VERIFY(file->isVisible());
        QTest::keyClick(file, Qt::Key_Right);
        QMenu* second = bar->actions()[1]->menu();
        QTRY_VERIFY(second->isVisible());
        QTest::keyClick(second, Qt::Key_Escape);
        QTRY_VERIFY(!second->isVisible());
        QCOMPARE(QApplication::focusWidget(), bar);   // one Escape: the bar still walked
        e.key(Qt::Key_Escape);
    }
    QCOMPARE(QApplication::focusWidget(), e.view());
    QVERIFY(!bar->activeAction());

    // In the open File menu, with Exit highlighted (the last item), S goes to the menu.
    openWithMouse(file);
    e.key(Qt::Key_Up);
    QTRY_COMPARE(file->activeAction(), e.form->Exit1);
    e.key(Qt::Key_S);
    QCOMPARE(file->activeAction(), e.form->SaveRom1);
    QVERIFY(file->isVisible());
    QVERIFY(e.form->toolsMenu->StampTool1->isChecked());
    QTest::keyClick(file, Qt::Key_Escape);
    QTRY_VERIFY(!file->isVisible());
    QCOMPARE(QApplication::focusWidget(), e.view());
    e.key(Qt::Key_S);   // the menu closed, the letter is the map view's again
    QVERIFY(e.form->toolsMenu->SelectSameTool1->isChecked());
}

void TestMapKeys::letterTypedInTheCategoryChooserReachesItsEntry()
{
    Editor e;
    e.choose(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    e.form->MainBox->setFocus();
    e.key(Qt::Key_R);
    QCOMPARE(e.form->MainBox->currentText(), QStringLiteral("Routes"));
    QVERIFY(e.form->toolsMenu->StampTool1->isChecked());
    QCOMPARE(e.form->SubBox->count(), 1);
    // Typed into the map chooser, a letter is part of the name.
    QLineEdit* name = e.form->SubBox->lineEdit();
    name->setFocus();
    name->clear();
    e.key(Qt::Key_F);
    QCOMPARE(name->text(), QStringLiteral("f"));
    QVERIFY(e.form->toolsMenu->StampTool1->isChecked());
}

void TestMapKeys::previewLeavesWithThePointer()
{
    Editor e;
    e.choose(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    e.drag(centre(1, 1), centre(2, 2), Qt::RightButton);
    QTest::mouseMove(e.view(), centre(4, 4));
    QCOMPARE(e.view()->previewCells(), QRect(4, 4, 2, 2));
    // Out of the view, onto the status bar.
    QTest::mouseMove(e.form.get(), e.form->StatusPanel0->mapTo(e.form.get(), QPoint(5, 5)));
    QVERIFY(e.view()->previewCells().isEmpty());
    QTest::mouseMove(e.view(), centre(3, 1));
    QCOMPARE(e.view()->previewCells(), QRect(3, 1, 2, 2));
}

void TestMapKeys::f10OpensFileAndArrowsWalkTheMenus()
{
    Editor e;
    e.choose(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    const QList<QAction*> menus = e.form->menuBar()->actions();
    for (QAction* menu : menus)
        QVERIFY2(!menu->text().contains(QLatin1Char('&')), qPrintable(menu->text()));
    e.key(Qt::Key_F10);
    QMenu* file = menus[0]->menu();
    QTRY_VERIFY(file->isVisible());
    QCOMPARE(menus[0]->text(), QStringLiteral("File"));
    QTest::keyClick(file, Qt::Key_Right);
    QTRY_VERIFY(menus[1]->menu()->isVisible());
    QVERIFY(!file->isVisible());
    QTest::keyClick(menus[1]->menu(), Qt::Key_Left);
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_Escape);
    QTRY_VERIFY(!file->isVisible());
}

void TestMapKeys::pasteInPlace_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QRect>("copied");      // from Alpha Town, 10 x 9
    QTest::addColumn<bool>("textOnly");     // the clipboard holds the text alone
    QTest::addColumn<QRect>("placed");      // the cells changed, empty for none
    QTest::addColumn<QString>("status");
    QTest::newRow("same map") << "Alpha Town" << QRect(2, 3, 3, 2) << false << QRect(2, 3, 3, 2) << "";
    QTest::newRow("larger map") << "Route 1" << QRect(6, 5, 4, 4) << false << QRect(6, 5, 4, 4) << "";
    QTest::newRow("smaller map, clipped") << "Beta Town" << QRect(2, 1, 3, 4) << false << QRect(2, 1, 2, 3) << "";
    QTest::newRow("origin off the map") << "Beta Town" << QRect(5, 6, 2, 2) << false << QRect()
                                        << "This map has no cell 5, 6 to paste the blocks back to.";
    QTest::newRow("text without a place") << "Route 1" << QRect(2, 3, 3, 2) << true << QRect()
                                          << "The blocks on the clipboard do not say where they were copied from.";
}

void TestMapKeys::pasteInPlace()
{
    QFETCH(QString, map);
    QFETCH(QRect, copied);
    QFETCH(bool, textOnly);
    QFETCH(QRect, placed);
    QFETCH(QString, status);
    Editor e;
    e.choose(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    e.key(Qt::Key_R);
    e.drag(centre(copied.left(), copied.top()), centre(copied.right(), copied.bottom()), Qt::LeftButton);
    e.key(Qt::Key_C, Qt::ControlModifier);
    if (textOnly)
        QGuiApplication::clipboard()->setText(QGuiApplication::clipboard()->text());
    if (map != QStringLiteral("Alpha Town"))
        e.choose(map == QStringLiteral("Route 1") ? QStringLiteral("Routes") : QStringLiteral("Towns"), map);
    const int width = e.state->core.map.MapWidth, height = e.state->core.map.MapHeight;
    // The same map pasted onto itself changes nothing: paint the place first.
    if (map == QStringLiteral("Alpha Town")) {
        e.key(Qt::Key_B);
        e.form->session->stamp().setSelectedBlock(0xEE);
        for (int y = copied.top(); y <= copied.bottom(); ++y)
            for (int x = copied.left(); x <= copied.right(); ++x)
                QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(x, y));
        QCOMPARE(e.cell(copied.left(), copied.top()), 0xEE);
    }
    const int undos = e.undoCount();
    const auto before = e.state->map.MapBytes;
    e.key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(e.undoCount(), undos + (placed.isEmpty() ? 0 : 1));
    if (!status.isEmpty())
        QCOMPARE(e.form->statusText(), status);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QPoint at(x, y);
            const int want = placed.contains(at) ? e.rom(AlphaStart, 10, x, y) : before[size_t(y * width + x)];
            QVERIFY2(e.cell(x, y) == want, qPrintable(QStringLiteral("cell %1, %2").arg(x).arg(y)));
        }
    }
    if (!placed.isEmpty()) {
        e.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(e.state->map.MapBytes == before);
    }
}

void TestMapKeys::flippedStamp_data()
{
    QTest::addColumn<QString>("keys");
    // For each cell of the 3 x 2 stamp placed, the cell of the capture it
    // shows, as "column,row" from the capture's corner.
    QTest::addColumn<QStringList>("from");
    QTest::newRow("as taken") << "" << QStringList{"0,0", "1,0", "2,0", "0,1", "1,1", "2,1"};
    QTest::newRow("X") << "X" << QStringList{"2,0", "1,0", "0,0", "2,1", "1,1", "0,1"};
    QTest::newRow("Y") << "Y" << QStringList{"0,1", "1,1", "2,1", "0,0", "1,0", "2,0"};
    QTest::newRow("X then Y") << "XY" << QStringList{"2,1", "1,1", "0,1", "2,0", "1,0", "0,0"};
    QTest::newRow("X twice") << "XX" << QStringList{"0,0", "1,0", "2,0", "0,1", "1,1", "2,1"};
}

void TestMapKeys::flippedStamp()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, from);
    Editor e;
    e.choose(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    e.drag(centre(1, 1), centre(3, 2), Qt::RightButton);
    for (QChar k : keys)
        e.key(k == QLatin1Char('X') ? Qt::Key_X : Qt::Key_Y);
    QCOMPARE(e.undoCount(), 0);
    QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(6, 5));
    QCOMPARE(e.undoCount(), 1);
    for (int i = 0; i < 6; ++i) {
        const QStringList xy = from[i].split(QLatin1Char(','));
        QCOMPARE(e.cell(6 + i % 3, 5 + i / 3), e.rom(RouteStart, 20, 1 + xy[0].toInt(), 1 + xy[1].toInt()));
    }
    QCOMPARE(e.cell(9, 5), e.rom(RouteStart, 20, 9, 5));
    e.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.cell(6, 5), e.rom(RouteStart, 20, 6, 5));
}

void TestMapKeys::shiftClickPaintsALine_data()
{
    QTest::addColumn<QPoint>("first");
    QTest::addColumn<QPoint>("second");
    QTest::addColumn<QList<QPoint>>("line");   // every cell the block lands on
    QTest::newRow("across") << QPoint(2, 3) << QPoint(6, 3)
                            << QList<QPoint>{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}};
    QTest::newRow("diagonal, backwards") << QPoint(5, 5) << QPoint(2, 2)
                                         << QList<QPoint>{{5, 5}, {4, 4}, {3, 3}, {2, 2}};
    QTest::newRow("steep") << QPoint(1, 1) << QPoint(2, 5)
                           << QList<QPoint>{{1, 1}, {1, 2}, {2, 3}, {2, 4}, {2, 5}};
    QTest::newRow("shallow") << QPoint(12, 0) << QPoint(19, 2)
                             << QList<QPoint>{{12, 0}, {13, 0}, {14, 1}, {15, 1}, {16, 1}, {17, 1}, {18, 2}, {19, 2}};
}

void TestMapKeys::shiftClickPaintsALine()
{
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    QFETCH(QList<QPoint>, line);
    Editor e;
    e.choose(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    e.form->session->stamp().setSelectedBlock(0xEE);
    QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(first.x(), first.y()));
    QCOMPARE(e.undoCount(), 1);
    QTest::mouseClick(e.view(), Qt::LeftButton, Qt::ShiftModifier, centre(second.x(), second.y()));
    QCOMPARE(e.undoCount(), 2);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x)
            QVERIFY2(e.cell(x, y) == (line.contains(QPoint(x, y)) ? 0xEE : e.rom(RouteStart, 20, x, y)),
                     qPrintable(QStringLiteral("cell %1, %2").arg(x).arg(y)));
    e.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.cell(line.last().x(), line.last().y()), e.rom(RouteStart, 20, line.last().x(), line.last().y()));
    QCOMPARE(e.cell(first.x(), first.y()), 0xEE);
}

void TestMapKeys::spaceDragPansWithoutPainting()
{
    Editor e;
    e.choose(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    QScrollArea* area = e.form->mapPage->ScrollBox1;
    area->horizontalScrollBar()->setValue(200);
    area->verticalScrollBar()->setValue(150);
    e.form->session->stamp().setSelectedBlock(0xEE);
    QTest::keyPress(e.form->windowHandle(), Qt::Key_Space);
    const QPoint from = centre(5, 5);
    QTest::mousePress(e.view(), Qt::LeftButton, {}, from);
    send(e.view(), QEvent::MouseMove, from + QPoint(-40, 30), Qt::NoButton, Qt::LeftButton);
    QTest::mouseRelease(e.view(), Qt::LeftButton, {}, from + QPoint(-40, 30));
    QTest::keyRelease(e.form->windowHandle(), Qt::Key_Space);
    QCOMPARE(area->horizontalScrollBar()->value(), 240);
    QCOMPARE(area->verticalScrollBar()->value(), 120);
    QCOMPARE(e.undoCount(), 0);
    // Space let go: the left button paints again, the middle one picks up.
    QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(5, 5));
    QCOMPARE(e.cell(5, 5), 0xEE);
    QTest::mouseClick(e.view(), Qt::MiddleButton, {}, centre(7, 5));
    QCOMPARE(e.form->session->stamp().selectedBlock(), e.rom(RouteStart, 20, 7, 5));
}

QTEST_MAIN(TestMapKeys)
#include "tst_map_keys.moc"
