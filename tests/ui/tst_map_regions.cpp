// Editing the map by regions in the main window: stamps, the clipboard,
// fills and Go to Map, driven with the mouse and the keyboard.
#include "ui_support/editor_fixture.h"

#include "session/editor_session.h"
#include "ui/main/go_to_map_window.h"
#include "ui/main/tools_menu.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

namespace {
constexpr qint64 AlphaStart = 0x1000;   // 10 x 9, tileset 1
constexpr qint64 BetaStart = 0x2000;    // 4 x 4, tileset 2

QPoint centre(int column, int row) { return QPoint(64 * column + 32, 64 * row + 32); }

void send(QWidget* view, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, buttons, {});
    QCoreApplication::sendEvent(view, &event);
}

struct Editor : EditorFixture {
    Editor()
    {
        openWithRom();
        form->TabbedNotebook1->setCurrentIndex(0);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    MapView* view() const { return form->mapPage->MapBox; }
    int cell(int column, int row) const { return state->map.MapBytes[size_t(row * state->core.map.MapWidth + column)]; }
    QImage shown() const { return view()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(form.get(), Qt::Key(key), modifiers); }
};
}

class TestMapRegions : public QObject {
    Q_OBJECT
private slots:
    void rightDragCapturesAStampThatAClickPlaces();
    void copiedInOneMapPastedInAnother();
    void bucketFillIsUndoneOnTheScreen();
    void goToMapPicksThroughTheChoosersPath_data();
    void goToMapPicksThroughTheChoosersPath();
};

void TestMapRegions::rightDragCapturesAStampThatAClickPlaces()
{
    Editor e;
    e.pickMap(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    const RomImage& rom = e.state->core.rom;
    send(e.view(), QEvent::MouseButtonPress, centre(1, 1), Qt::RightButton, Qt::RightButton);
    send(e.view(), QEvent::MouseMove, centre(3, 2), Qt::NoButton, Qt::RightButton);
    QCOMPARE(e.view()->frame(), QRect(1, 1, 3, 2));
    QCOMPARE(e.form->statusText(), QStringLiteral("Size: 3 x 2"));
    send(e.view(), QEvent::MouseButtonRelease, centre(3, 2), Qt::RightButton, Qt::NoButton);
    QVERIFY(e.view()->frame().isEmpty());
    // The stamp follows the pointer; the map is not changed by that.
    send(e.view(), QEvent::MouseMove, centre(5, 4), Qt::NoButton, Qt::NoButton);
    QCOMPARE(e.view()->previewCells(), QRect(5, 4, 3, 2));
    QCOMPARE(e.cell(5, 4), rom.byteAt(AlphaStart + 4 * 10 + 5));
    QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(5, 4));
    QCOMPARE(e.cell(8, 4), rom.byteAt(AlphaStart + 4 * 10 + 8));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const int captured = rom.byteAt(AlphaStart + (1 + y) * 10 + 1 + x);
            QCOMPARE(e.cell(5 + x, 4 + y), captured);
        }
    }
    QCOMPARE(e.form->session->undoStack().count(), 1);
    // A right click without moving still only picks up the block.
    QTest::mouseClick(e.view(), Qt::RightButton, {}, centre(0, 0));
    QCOMPARE(e.form->session->stamp().selectedBlock(), e.cell(0, 0));
    QVERIFY(!e.form->session->stamp().hasRegion());
}

void TestMapRegions::copiedInOneMapPastedInAnother()
{
    Editor e;
    e.pickMap(QStringLiteral("Towns"), QStringLiteral("Beta Town"));
    e.key(Qt::Key_A, Qt::ControlModifier);
    e.key(Qt::Key_C, Qt::ControlModifier);
    e.pickMap(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    e.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(e.form->statusText(), QStringLiteral("The blocks pasted come from tileset 2; this map uses tileset 1."));
    QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(1, 2));
    const RomImage& rom = e.state->core.rom;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(e.cell(1 + x, 2 + y), rom.byteAt(BetaStart + y * 4 + x));
    QCOMPARE(e.cell(0, 2), rom.byteAt(AlphaStart + 20));
    QCOMPARE(e.cell(5, 2), rom.byteAt(AlphaStart + 25));
    // Escape drops the stamp: a click paints one block again.
    e.key(Qt::Key_Escape);
    QVERIFY(!e.form->session->stamp().hasRegion());
}

void TestMapRegions::bucketFillIsUndoneOnTheScreen()
{
    Editor e;
    e.pickMap(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    const QImage before = e.shown();
    const QByteArray bytesBefore(reinterpret_cast<const char*>(e.state->map.MapBytes.data()), 360);
    e.form->session->stamp().setSelectedBlock(3);
    e.key(Qt::Key_F);
    QVERIFY(e.form->toolsMenu->FillTool1->isChecked());
    QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(2, 2));
    QCOMPARE(e.cell(2, 2), 3);
    QVERIFY(e.shown() != before);
    e.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(e.state->map.MapBytes.data()), 360), bytesBefore);
    QCOMPARE(e.shown(), before);
}

void TestMapRegions::goToMapPicksThroughTheChoosersPath_data()
{
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nothing unsaved") << false << int(Prompts::Answer::Yes) << "Beta Town";
    QTest::newRow("unsaved, kept") << true << int(Prompts::Answer::Yes) << "Beta Town";
    QTest::newRow("unsaved, cancelled") << true << int(Prompts::Answer::Cancel) << "Route 1";
}

void TestMapRegions::goToMapPicksThroughTheChoosersPath()
{
    QFETCH(bool, unsaved);
    QFETCH(int, answer);
    QFETCH(QString, shown);
    Editor e;
    e.pickMap(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    if (unsaved) {
        e.form->session->stamp().setSelectedBlock(e.cell(0, 0) + 1);
        QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(0, 0));
    }
    e.prompts.answer(Prompts::Answer(answer));
    e.key(Qt::Key_P, Qt::ControlModifier);
    GoToMapWindow* go = e.form->goToMap;
    QVERIFY(go->isVisible());
    QCOMPARE(go->shownCount(), 4);
    QTest::keyClicks(go->Filter, QStringLiteral("TA t"));
    QCOMPARE(go->shownCount(), 1);
    QTest::keyClick(go->Filter, Qt::Key_Return);
    QCOMPARE(e.state->core.map.name, shown);
    QCOMPARE(e.prompts.shown.size(), size_t(unsaved ? 1 : 0));
    QCOMPARE(e.form->SubBox->currentText(), shown);
    QCOMPARE(e.form->MainBox->currentText(), shown == QStringLiteral("Route 1") ? "Routes" : "Towns");
}

QTEST_MAIN(TestMapRegions)
#include "tst_map_regions.moc"
