// Editing the map by regions in the main window: stamps, the clipboard,
// fills and Go to Map, driven with the mouse and the keyboard.
#include "ui_support/map_page_editor.h"
#include "ui_support/editor_fixture.h"

#include "session/editor_session.h"
#include "ui/main/find_uses_window.h"
#include "ui/main/go_to_map_window.h"
#include "ui/map/block_editor_form.h"
#include "ui/map/image_box.h"
#include "ui/main/tools_menu.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {
constexpr qint64 AlphaStart = 0x1000;   // 10 x 9, tileset 1
constexpr qint64 BetaStart = 0x2000;    // 4 x 4, tileset 2

using mappage::centre;
using mappage::send;

struct Editor : mappage::Editor {
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
    void selectionsOfAnyShape_data();
    void selectionsOfAnyShape();
    void findUsesPicksTheMapWithTheBlocksCells_data();
    void findUsesPicksTheMapWithTheBlocksCells();
};

namespace {
QPoint cellOf(const QString& text)
{
    const QStringList xy = text.split(QLatin1Char(','));
    return QPoint(xy[0].toInt(), xy[1].toInt());
}
QString selectedCells(const CellMask& cells)
{
    QStringList list;
    for (int y = 0; y < cells.height(); ++y)
        for (int x = 0; x < cells.width(); ++x)
            if (cells.contains(QPoint(x, y)))
                list << QStringLiteral("%1,%2").arg(x).arg(y);
    return list.join(QLatin1Char(' '));
}
}

void TestMapRegions::selectionsOfAnyShape_data()
{
    // Steps: a tool letter and a cell ("W 2,2") or, for R, a drag ("R 0,0-1,1");
    // "+" before the letter holds Shift, "-" holds Ctrl.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("selected");
    // Block 5 on (2,2) (3,2) (3,3), on (4,4) only by a corner, and alone on (7,7).
    QTest::newRow("magic wand: 4-connected only") << "W 2,2" << "2,2 3,2 3,3";
    QTest::newRow("magic wand: the lone cell") << "W 7,7" << "7,7";
    QTest::newRow("select same: every cell") << "S 3,3" << "2,2 3,2 3,3 4,4 7,7";
    QTest::newRow("shift adds") << "W 2,2; +W 4,4" << "2,2 3,2 3,3 4,4";
    QTest::newRow("ctrl takes away") << "S 2,2; -R 3,2-4,4" << "2,2 7,7";
    QTest::newRow("a plain click starts afresh") << "S 2,2; W 7,7" << "7,7";
    QTest::newRow("rectangles added") << "R 0,0-1,0; +R 8,8-9,8" << "0,0 1,0 8,8 9,8";
    QTest::newRow("ctrl on nothing selected") << "-W 2,2" << "";
}

void TestMapRegions::selectionsOfAnyShape()
{
    QFETCH(QString, steps);
    QFETCH(QString, selected);
    Editor e;
    QByteArray bytes(90, char(1));
    for (const int cell : {22, 23, 33, 44, 77})
        bytes[cell] = char(5);
    QVERIFY(e.state->core.rom.writeAt(AlphaStart, bytes.constData(), bytes.size()));
    e.pickMap(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    for (QString step : steps.split(QStringLiteral("; "))) {
        Qt::KeyboardModifiers modifiers;
        if (step.startsWith(QLatin1Char('+')) || step.startsWith(QLatin1Char('-'))) {
            modifiers = step.startsWith(QLatin1Char('+')) ? Qt::ShiftModifier : Qt::ControlModifier;
            step.remove(0, 1);
        }
        e.key(step[0].toLatin1());
        const QStringList span = step.mid(2).split(QLatin1Char('-'));
        const QPoint from = cellOf(span.first()), to = cellOf(span.last());
        QTest::mousePress(e.view(), Qt::LeftButton, modifiers, centre(from.x(), from.y()));
        send(e.view(), QEvent::MouseMove, centre(to.x(), to.y()), Qt::NoButton, Qt::LeftButton);
        QTest::mouseRelease(e.view(), Qt::LeftButton, modifiers, centre(to.x(), to.y()));
    }
    QCOMPARE(selectedCells(e.form->mapPage->selectedCells()), selected);
    QCOMPARE(e.view()->outline(), e.form->mapPage->selectedCells());
    if (selected.isEmpty())
        return;
    // Delete gives exactly the selected cells the palette's block, as one undo entry.
    e.form->session->stamp().setSelectedBlock(9);
    e.key(Qt::Key_Delete);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 10; ++x)
            QCOMPARE(e.cell(x, y), selected.split(QLatin1Char(' ')).contains(QStringLiteral("%1,%2").arg(x).arg(y))
                                       ? 9 : int(quint8(bytes[y * 10 + x])));
    QCOMPARE(e.form->session->undoStack().count(), 1);
}

void TestMapRegions::findUsesPicksTheMapWithTheBlocksCells_data()
{
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nothing unsaved") << false << int(Prompts::Answer::Yes) << "Alpha Town";
    QTest::newRow("unsaved, cancelled") << true << int(Prompts::Answer::Cancel) << "Route 1";
}

void TestMapRegions::findUsesPicksTheMapWithTheBlocksCells()
{
    QFETCH(bool, unsaved);
    QFETCH(int, answer);
    QFETCH(QString, shown);
    Editor e;
    // Block 3 where x * y % 7 == 3 on Alpha Town, on every fifth cell of Route 1
    // (both tileset 1), everywhere on Beta Town (tileset 2: not listed).
    RomImage& rom = e.state->core.rom;
    int alpha = 0, route = 0;
    for (int i = 0; i < 90; ++i) {
        const bool three = (i % 10) * (i / 10) % 7 == 3;
        alpha += three;
        QVERIFY(rom.writeAt(AlphaStart + i, three ? "\x03" : "\x01", 1));
    }
    for (int i = 0; i < 360; ++i) {
        route += i % 5 == 0;
        QVERIFY(rom.writeAt(12288 + i, i % 5 == 0 ? "\x03" : "\x02", 1));
    }
    QVERIFY(rom.writeAt(BetaStart, QByteArray(16, char(3)).constData(), 16));
    e.pickMap(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    if (unsaved) {
        e.form->session->stamp().setSelectedBlock(e.cell(0, 0) + 1);
        QTest::mouseClick(e.view(), Qt::LeftButton, {}, centre(0, 0));
    }
    e.form->BlockEditor1->trigger();
    TBlockEditorForm* editor = e.form->blockEditor;
    QTest::mouseClick(editor->BlockBox, Qt::LeftButton, {}, QPoint(20, 64 * 2 + 10));   // row 2: block 3
    QTest::mouseClick(editor->FindUses1, Qt::LeftButton);
    QListWidget* list = e.form->findUses->List;
    QVERIFY(e.form->findUses->isVisible());
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Alpha Town (%1)").arg(alpha));
    // The map shown is counted as on the screen: the painted cell held block 3.
    QCOMPARE(list->item(1)->text(), QStringLiteral("Route 1 (%1)").arg(route - int(unsaved)));
    e.prompts.answer(Prompts::Answer(answer));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(e.state->core.map.name, shown);
    if (shown != QLatin1String("Alpha Town"))
        return;
    QCOMPARE(e.form->SubBox->currentText(), shown);
    QCOMPARE(e.form->mapPage->selectedCells().count(), alpha);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 10; ++x)
            QCOMPARE(e.form->mapPage->selectedCells().contains(QPoint(x, y)), x * y % 7 == 3);
}

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
