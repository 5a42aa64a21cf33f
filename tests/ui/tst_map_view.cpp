// The map's bytes, the map view, painting, pick-up and the grid.
#include "ui_support/map_rig.h"

#include "model/map/map_readouts.h"
#include "model/map/map_renderer.h"
#include "ui/map/block_palette_box.h"
#include "widgets/zoom_setting.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace {
MapRecord mapAt(qint32 start, qint32 end, qint32 width, qint32 height)
{
    MapRecord m;
    m.name = QStringLiteral("M");
    m.MapStart = start;
    m.MapEnd = end;
    m.MapWidth = width;
    m.MapHeight = height;
    return m;
}

// A press straight to the view, with no pointer move before it.
void pressOnly(QWidget* widget, Qt::MouseButton button, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), widget->mapToGlobal(QPointF(at)), button, button, {});
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), widget->mapToGlobal(QPointF(at)), button, {}, {});
    QCoreApplication::sendEvent(widget, &release);
}
}

class TestMapView : public QObject {
    Q_OBJECT
private slots:
    void mapBytesReadPaintedAndWritten_data();
    void mapBytesReadPaintedAndWritten();
    void refusedMapKeepsPreviousBytes_data();
    void refusedMapKeepsPreviousBytes();
    void readouts_data();
    void readouts();
    void viewShowsEveryCell();
    void byteZeroDrawsNothing();
    void hoverReadsCell();
    void dragPaintsUntilRelease();
    void pressPaintsTheCellPressed();
    void pickUp_data();
    void pickUp();
    void gridFramesEveryCell();
    void gridBeforeAnyMapOnlyStoresTheMark();
    void gridWriteFailureSkipsRedraw();
    void paintsDroppedByPickAndWrittenBySave();
    void cellsBeyondTheBytesRead();
    void loadRomClearsTheView();
    void halfSizeClickPaintsTheCellUnderThePointer();
    void exposedRectanglesShowTheWholePicture_data();
    void exposedRectanglesShowTheWholePicture();
    void ctrlWheelZoomsAroundThePointer_data();
    void ctrlWheelZoomsAroundThePointer();
    void selectedBlockIsFramedOnTheScreenOnly();
    void outlineLiesOnTheSelectionsEdge_data();
    void outlineLiesOnTheSelectionsEdge();
};

namespace {
// Collects the rectangles a widget is asked to paint.
class PaintLog : public QObject {
public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};
}

void TestMapView::halfSizeClickPaintsTheCellUnderThePointer()
{
    MapRig r;
    ZoomSetting zoom;
    r.page->followZoom(&zoom);
    QVERIFY(r.pick(QStringLiteral("Town")));
    zoom.setPercent(50);
    QCOMPARE(r.page->MapBox->size(), QSize(640, 576));
    r.page->ScrollBox1->horizontalScrollBar()->setValue(0);
    r.page->ScrollBox1->verticalScrollBar()->setValue(0);
    QVERIFY(r.core->rom.byteAt(rig::TownStart + 43) != 6);
    QCoreApplication::processEvents();
    PaintLog log;
    r.page->MapBox->installEventFilter(&log);
    r.stamp.setSelectedBlock(6);
    // Pixel (3 * 32 + 31, 2 * 32) at 50 % lies in cell (3, 2), byte 43.
    const QPoint at(3 * 32 + 31, 2 * 32);
    QTest::mouseMove(r.page->MapBox, at);
    QCOMPARE(r.statusTexts.last(), QStringLiteral("X: 3 Y: 2 Block: %1 Offset: 402B")
                                       .arg(hexText(r.core->rom.byteAt(rig::TownStart + 43), 2)));
    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, at);
    QCOMPARE(int(r.state.MapBytes[43]), 6);
    QCOMPARE(int(r.state.MapBytes[42]), r.core->rom.byteAt(rig::TownStart + 42));
    QTRY_VERIFY(log.painted.contains(QRect(3 * 32, 2 * 32, 32, 32)));
    // Only the painted cell is drawn again.
    QVERIFY(!log.painted.intersects(QRect(0, 0, 3 * 32, 32)));
    QTest::mouseMove(r.page->MapBox, at - QPoint(1, 0));
    QCOMPARE(r.statusTexts.last(), QStringLiteral("X: 3 Y: 2 Block: 06 Offset: 402B"));
}

void TestMapView::exposedRectanglesShowTheWholePicture_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QRect>("rect");
    for (bool grid : {false, true}) {
        const QByteArray g = grid ? "grid on, " : "grid off, ";
        QTest::newRow(g + "top left, a cell holding 0") << grid << false << QRect(0, 0, 200, 150);
        QTest::newRow(g + "odd place") << grid << false << QRect(333, 97, 131, 77);
        QTest::newRow(g + "bottom right") << grid << false << QRect(1100, 1000, 180, 152);
        QTest::newRow(g + "block edited in the block editor") << grid << true << QRect(0, 0, 1280, 1152);
    }
}

// What the view paints of any rectangle is that rectangle of the picture
// Save Map Picture writes.
void TestMapView::exposedRectanglesShowTheWholePicture()
{
    QFETCH(bool, grid);
    QFETCH(bool, edited);
    QFETCH(QRect, rect);
    MapRig r(grid);
    QVERIFY(r.core->rom.writeAt(rig::TownStart + 1, "\x00", 1));
    QVERIFY(r.pick(QStringLiteral("Town")));
    const auto shown = [&] {
        return r.page->MapBox->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
    };
    if (edited) {
        const QImage before = shown();
        // Block 1 (palette row 0) saved with other tiles by the block editor.
        r.editor->BlockEditor1Click();
        r.editor->BlockIndex = 0;
        r.editor->BlockOffset = rig::Tileset1Start;
        for (int i = 0; i < 16; ++i)
            r.editor->BlockTiles[size_t(i)] = 60 + i;
        r.editor->SaveTile();
        QVERIFY(shown() != before);
    }
    if (rect.topLeft() == QPoint(0, 0))
        QVERIFY(rig::allBlack(shown(), QPoint(64, 0)));   // cell (1, 0) holds 0
    QCOMPARE(shown(), r.page->renderer().picture().copy(rect));
}

void TestMapView::ctrlWheelZoomsAroundThePointer_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("zoom");
    QTest::newRow("in") << 100 << 120 << 200;
    QTest::newRow("two notches in") << 100 << 240 << 400;
    QTest::newRow("out") << 400 << -120 << 200;
    QTest::newRow("half a notch") << 100 << 60 << 100;
}

void TestMapView::ctrlWheelZoomsAroundThePointer()
{
    QFETCH(int, from);
    QFETCH(int, angle);
    QFETCH(int, zoom);
    MapRig r;
    ZoomSetting setting;
    r.page->followZoom(&setting);
    QVERIFY(r.pick(QStringLiteral("Town")));
    setting.setPercent(from);
    QWidget* viewport = r.page->ScrollBox1->viewport();
    r.page->ScrollBox1->horizontalScrollBar()->setValue(300);
    r.page->ScrollBox1->verticalScrollBar()->setValue(200);
    const QPoint pointer(150, 90);   // in the viewport
    const QPoint before = r.page->MapBox->mapFrom(viewport, pointer);
    const auto wheel = [&](QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(at), QPointF(r.page->MapBox->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(r.page->MapBox, &event);
    };
    wheel(before, angle, Qt::ControlModifier);
    QCOMPARE(setting.percent(), zoom);
    QCOMPARE(r.page->MapBox->size(), QSize(1280, 1152) * zoom / 100);
    // The map point under the pointer stays under it.
    const QPoint after = r.page->MapBox->mapFrom(viewport, pointer);
    QVERIFY2((after - before * zoom / from).manhattanLength() <= 1, qPrintable(QStringLiteral("%1,%2").arg(after.x()).arg(after.y())));
    // Without Ctrl the wheel scrolls and leaves the zoom.
    wheel(after, -120, Qt::NoModifier);
    QCOMPARE(setting.percent(), zoom);
}

void TestMapView::selectedBlockIsFramedOnTheScreenOnly()
{
    MapRig r;
    QVERIFY(r.core->rom.writeAt(rig::TownStart + 21, "\x0A", 1));
    QVERIFY(r.pick(QStringLiteral("Town")));
    auto* palette = static_cast<BlockPaletteBox*>(r.page->BlockPalette);
    const QImage paletteBefore = r.page->paletteImage().copy();
    const auto shown = [&](int row) {
        return palette->grab(QRect(0, 64 * row, 64, 64)).toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto framed = [&](int row) {
        const QImage p = shown(row);
        return p.pixel(0, 10) == BlockPaletteBox::EdgeColour && p.pixel(1, 10) == BlockPaletteBox::FrameColour
            && p.pixel(2, 10) == BlockPaletteBox::FrameColour && p.pixel(3, 10) == BlockPaletteBox::EdgeColour
            && p.pixel(30, 63) == BlockPaletteBox::EdgeColour && p.pixel(30, 62) == BlockPaletteBox::FrameColour
            && p.pixel(30, 4) == r.page->paletteImage().pixel(30, 64 * row + 4);
    };
    QVERIFY(!framed(0));   // block 0 selected at start: nothing is framed
    QTest::mouseClick(r.page->BlockPalette, Qt::LeftButton, {}, QPoint(20, 64 * 4 + 30));
    QCOMPARE(r.stamp.selectedBlock(), 5);
    QVERIFY(framed(4));
    // A pick-up of a cell holding 0A moves the frame to row 9.
    pressOnly(r.page->MapBox, Qt::RightButton, r.cellCentre(1, 1));
    QCOMPARE(r.stamp.selectedBlock(), 10);
    QVERIFY(framed(9));
    QVERIFY(!framed(4));
    QCOMPARE(shown(4), r.page->paletteImage().copy(0, 64 * 4, 64, 64));
    // The palette image, which Save Tileset Picture writes, never holds the frame.
    QCOMPARE(r.page->paletteImage(), paletteBefore);
}

void TestMapView::outlineLiesOnTheSelectionsEdge_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("frame");   // the rectangle (1,1)-(2,2) framed instead
    QTest::newRow("100 %") << 100 << false;
    QTest::newRow("50 %") << 50 << false;
    QTest::newRow("200 %") << 200 << false;
    QTest::newRow("frame, 100 %") << 100 << true;
    QTest::newRow("frame, 50 %") << 50 << true;
}

// The selection (1,1) (2,1) (1,2): its outline takes the first and the last
// pixel of the selected cells on each side, and no pixel inside or outside.
void TestMapView::outlineLiesOnTheSelectionsEdge()
{
    QFETCH(int, zoom);
    QFETCH(bool, frame);
    MapRig r;
    ZoomSetting setting;
    r.page->followZoom(&setting);
    QVERIFY(r.pick(QStringLiteral("Town")));
    setting.setPercent(zoom);
    const int side = 64 * zoom / 100;
    const QRect area(0, 0, 4 * side, 4 * side);
    const QImage plain = r.page->MapBox->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    CellMask cells(20, 18);
    for (const QPoint cell : {QPoint(1, 1), QPoint(2, 1), QPoint(1, 2)})
        cells.insert(cell);
    if (frame)
        r.page->MapBox->setFrame(QRect(1, 1, 2, 2));
    else
        r.page->MapBox->setOutline(cells);
    const QImage shown = r.page->MapBox->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    const auto outline = [&](int x, int y) {
        return shown.pixel(x, y) == 0xFF000000u || shown.pixel(x, y) == 0xFFFFFFFFu;
    };
    const auto plainAt = [&](int x, int y) { return shown.pixel(x, y) == plain.pixel(x, y); };
    const int mid = side + side / 2;   // across cell (1, 1)
    for (const int at : {mid - 1, mid, mid + 1}) {
        QVERIFY(plainAt(side - 1, at) && outline(side, at) && plainAt(side + 1, at));               // left
        QVERIFY(plainAt(3 * side - 2, at) && outline(3 * side - 1, at) && plainAt(3 * side, at));   // right
        QVERIFY(plainAt(at, side - 1) && outline(at, side) && plainAt(at, side + 1));               // top
        QVERIFY(plainAt(at, 3 * side - 2) && outline(at, 3 * side - 1) && plainAt(at, 3 * side));   // bottom
    }
    if (frame)
        return;
    // The inner corner: cell (2, 2) is not selected.
    QVERIFY(outline(2 * side + side / 2, 2 * side - 1) && plainAt(2 * side + side / 2, 2 * side));
    QVERIFY(outline(2 * side - 1, 2 * side + side / 2) && plainAt(2 * side, 2 * side + side / 2));
}

void TestMapView::mapBytesReadPaintedAndWritten_data()
{
    QTest::addColumn<int>("bytes");   // MapEnd - MapStart + 1
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("bytes equal cells") << 20 << 5 << 4;
    QTest::newRow("fewer bytes than cells") << 15 << 5 << 4;
    QTest::newRow("more bytes than cells") << 25 << 5 << 4;
    QTest::newRow("largest map") << 10000 << 100 << 100;
    QTest::newRow("end before start") << 0 << 5 << 4;
}

void TestMapView::mapBytesReadPaintedAndWritten()
{
    QFETCH(int, bytes);
    QFETCH(int, width);
    QFETCH(int, height);
    const qint32 start = 0x100;
    RomImage rom;
    rom.setBytes(TestDir::patternRom(0x4000));
    const QByteArray before = rom.bytes();
    MapState state;
    QVERIFY(state.readMap(rom, mapAt(start, start + bytes - 1, width, height)));
    for (int i = 0; i < bytes; ++i)
        QCOMPARE(int(state.MapBytes[size_t(i)]), rom.byteAt(start + i));
    for (int i = bytes; i < MapBufferSize; ++i)
        QCOMPARE(int(state.MapBytes[size_t(i)]), 0);

    // Painting reaches only cells of the map whose byte was read; the low 8 bits are stored.
    const int cells = width * height;
    const int paintable = qMin(bytes, cells);
    for (int cell : {0, paintable - 1, paintable, cells - 1, cells, -1, MapBufferSize}) {
        const bool inside = cell >= 0 && cell < paintable;
        QCOMPARE(state.paintCell(cell, 0x10A), inside);
    }
    QCOMPARE(state.writeMap(rom), bytes > 0);
    for (int i = 0; i < rom.size(); ++i) {
        const bool painted = paintable > 0 && (i == start || i == start + paintable - 1);
        QCOMPARE(rom.byteAt(i), painted ? 0x0A : int(quint8(before[i])));
    }
}

void TestMapView::refusedMapKeepsPreviousBytes_data()
{
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("end");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("past the image") << 0x3FF0 << 0x4010 << 5 << 4;
    QTest::newRow("negative start") << -4 << 10 << 5 << 3;
    QTest::newRow("too many bytes") << 0 << 10000 << 5 << 4;
    QTest::newRow("too many cells") << 0 << 19 << 101 << 100;
}

void TestMapView::refusedMapKeepsPreviousBytes()
{
    QFETCH(qint32, start);
    QFETCH(qint32, end);
    QFETCH(int, width);
    QFETCH(int, height);
    RomImage rom;
    rom.setBytes(TestDir::patternRom(0x4000));
    MapState state;
    QVERIFY(state.readMap(rom, mapAt(0x200, 0x213, 5, 4)));
    QVERIFY(state.paintCell(3, 77));
    const auto bytes = state.MapBytes;
    QVERIFY(!state.readMap(rom, mapAt(start, end, width, height)));
    QVERIFY(state.MapBytes == bytes);
    QCOMPARE(state.loadedStart, 0x200);
    QCOMPARE(state.loadedBytes, 20);
}

void TestMapView::readouts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cell") << mapCellReadout(3, 1, 10, 0x1A2B) << QStringLiteral("X: 3 Y: 1 Block: 0A Offset: 1A2B");
    QTest::newRow("small offset") << mapCellReadout(0, 0, 255, 5) << QStringLiteral("X: 0 Y: 0 Block: FF Offset: 05");
    QTest::newRow("wide offset") << mapCellReadout(99, 99, 0, 0x12345) << QStringLiteral("X: 99 Y: 99 Block: 00 Offset: 12345");
    QTest::newRow("palette row 0") << paletteReadout(0, 0x4000) << QStringLiteral("Block: 01 Offset: 4000");
    QTest::newRow("palette, no minimum width") << paletteReadout(0, 0) << QStringLiteral("Block: 01 Offset: 0");
    QTest::newRow("palette row 127") << paletteReadout(127, 0xABC0) << QStringLiteral("Block: 80 Offset: B3B0");
}

void TestMapView::readouts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestMapView::viewShowsEveryCell()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QCOMPARE(r.page->MapBox->size(), QSize(1280, 1152));
    const QImage view = r.view();
    QCOMPARE(view.size(), QSize(1280, 1152));
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x) {
            const int n = r.state.MapBytes[size_t(y * 20 + x)];
            QCOMPARE(n, r.core->rom.byteAt(rig::TownStart + y * 20 + x));
            QVERIFY(rig::showsBlock(view, r.cellOrigin(x, y),
                                    rig::romBlock(r.core->rom, rig::Tileset1Start + 16 * (n - 1))));
        }
}

void TestMapView::byteZeroDrawsNothing()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Route")));
    QVERIFY(!rig::allBlack(r.view(), r.cellOrigin(0, 0)));
    // The same map again, now with 0 in its first byte and 1 in its second.
    QVERIFY(r.core->rom.writeAt(rig::RouteStart, "\x00\x01", 2));
    r.prompts.answer(Prompts::Answer::No);  // the working copy now differs from the image
    QVERIFY(r.pick(QStringLiteral("Route")));
    QVERIFY(rig::allBlack(r.view(), r.cellOrigin(0, 0)));
    QVERIFY(rig::showsBlock(r.view(), r.cellOrigin(1, 0), rig::romBlock(r.core->rom, rig::Tileset1Start)));
}

void TestMapView::hoverReadsCell()
{
    MapRig r;
    QVERIFY(r.core->rom.writeAt(rig::TownStart + 43, "\x0A", 1));
    QVERIFY(r.pick(QStringLiteral("Town")));
    QTest::mouseMove(r.page->MapBox, r.cellCentre(3, 2));
    QCOMPARE(r.page->cursorCell(), 43);
    QCOMPARE(r.statusTexts.last(), QStringLiteral("X: 3 Y: 2 Block: 0A Offset: 402B"));
    QTest::mouseMove(r.page->MapBox, QPoint(64 * 5 + 63, 63));
    QCOMPARE(r.page->cursorCell(), 5);
}

void TestMapView::dragPaintsUntilRelease()
{
    MapRig r(true);
    QVERIFY(r.pick(QStringLiteral("Town")));
    r.stamp.setSelectedBlock(5);
    const auto block5 = rig::romBlock(r.core->rom, rig::Tileset1Start + 16 * 4);
    const auto before = r.state.MapBytes;
    QTest::mousePress(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(0, 1));
    for (int x = 1; x < 5; ++x)
        QTest::mouseMove(r.page->MapBox, r.cellCentre(x, 1));
    QTest::mouseRelease(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(4, 1));
    QTest::mouseMove(r.page->MapBox, r.cellCentre(5, 1));
    QTest::mouseMove(r.page->MapBox, r.cellCentre(6, 2));
    for (int i = 0; i < 360; ++i) {
        const bool painted = i >= 20 && i < 25;
        QCOMPARE(int(r.state.MapBytes[size_t(i)]), painted ? 5 : int(before[size_t(i)]));
    }
    const QImage view = r.view();
    for (int x = 0; x < 5; ++x) {
        QVERIFY(rig::framed(view, r.cellOrigin(x, 1)));
        QCOMPARE(view.pixel(r.cellOrigin(x, 1) + QPoint(8, 8)), rig::tileRgb(block5[0]));
    }
    QVERIFY(!r.page->painting());
    // The ROM image is not touched by painting.
    QCOMPARE(r.core->rom.byteAt(rig::TownStart + 20), int(before[20]));
}

void TestMapView::pressPaintsTheCellPressed()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QTest::mouseMove(r.page->MapBox, r.cellCentre(0, 0));
    QCOMPARE(r.page->cursorCell(), 0);
    const int first = r.state.MapBytes[0];
    r.stamp.setSelectedBlock(7);
    pressOnly(r.page->MapBox, Qt::LeftButton, r.cellCentre(4, 1));
    QCOMPARE(int(r.state.MapBytes[0]), first);
    QCOMPARE(int(r.state.MapBytes[24]), 7);
    QVERIFY(rig::showsBlock(r.view(), r.cellOrigin(4, 1), rig::romBlock(r.core->rom, rig::Tileset1Start + 16 * 6)));
}

void TestMapView::pickUp_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("scroll");
    QTest::newRow("0A, right") << 0x0A << int(Qt::RightButton) << 576;
    QTest::newRow("0A, middle") << 0x0A << int(Qt::MiddleButton) << 576;
    QTest::newRow("1 scrolls to the top") << 1 << int(Qt::RightButton) << 0;
    QTest::newRow("0 scrolls to the top") << 0 << int(Qt::RightButton) << 0;
    QTest::newRow("past the end is clamped") << 0xFF << int(Qt::RightButton) << -1;
}

void TestMapView::pickUp()
{
    QFETCH(int, byte);
    QFETCH(int, button);
    QFETCH(int, scroll);
    MapRig r;
    const char value = char(byte);
    QVERIFY(r.core->rom.writeAt(rig::TownStart + 21, &value, 1));
    QVERIFY(r.pick(QStringLiteral("Town")));
    QScrollBar* bar = r.page->ScrollBox2->verticalScrollBar();
    QVERIFY(bar->maximum() > 576);
    bar->setValue(200);
    QTest::mouseMove(r.page->MapBox, r.cellCentre(0, 0));
    const auto before = r.state.MapBytes;
    pressOnly(r.page->MapBox, Qt::MouseButton(button), r.cellCentre(1, 1));
    QCOMPARE(r.stamp.selectedBlock(), byte);
    QCOMPARE(bar->value(), scroll < 0 ? bar->maximum() : scroll);
    QVERIFY(r.state.MapBytes == before);
    QVERIFY(!r.page->painting());
}

void TestMapView::gridFramesEveryCell()
{
    MapRig r(true);
    QVERIFY(r.pick(QStringLiteral("Town")));
    QImage view = r.view();
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x) {
            QVERIFY(rig::framed(view, r.cellOrigin(x, y)));
            QVERIFY(view.pixel(r.cellOrigin(x, y) + QPoint(1, 1)) != 0xFF000000u);
        }
    r.Grid1->trigger();
    view = r.view();
    QCOMPARE(r.dir.read(QStringLiteral("Critters.ini")), QByteArray("[Settings]\r\nGrid=0\r\n"));
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x) {
            const int n = r.state.MapBytes[size_t(y * 20 + x)];
            const auto tiles = rig::romBlock(r.core->rom, rig::Tileset1Start + 16 * (n - 1));
            QCOMPARE(view.pixel(r.cellOrigin(x, y)), rig::tileRgb(tiles[0]));
            QCOMPARE(view.pixel(r.cellOrigin(x, y) + QPoint(63, 63)), rig::tileRgb(tiles[15]));
        }
    r.Grid1->trigger();
    QCOMPARE(r.dir.read(QStringLiteral("Critters.ini")), QByteArray("[Settings]\r\nGrid=1\r\n"));
    QVERIFY(rig::framed(r.view(), r.cellOrigin(19, 17)));
}

void TestMapView::gridBeforeAnyMapOnlyStoresTheMark()
{
    MapRig r;
    const QImage before = r.view();
    r.Grid1->trigger();
    QVERIFY(r.Grid1->isChecked());
    QCOMPARE(r.dir.read(QStringLiteral("Critters.ini")), QByteArray("[Settings]\r\nGrid=1\r\n"));
    QCOMPARE(r.view(), before);
    QCOMPARE(r.page->MapBox->size(), QSize(403, 266));
    QVERIFY(!r.page->MapBox->isEnabled());
    QCOMPARE(r.page->BlockPalette->height(), 0);
    QVERIFY(r.prompts.shown.empty());
}

void TestMapView::gridWriteFailureSkipsRedraw()
{
    MapRig r(true);
    QVERIFY(r.pick(QStringLiteral("Town")));
    // Critters.ini cannot be replaced while a folder stands in its place.
    const QString path = r.core->catalogue.CrittersIni.path();
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));
    r.Grid1->trigger();
    QVERIFY(r.Grid1->isChecked());  // the mark shows the setting still in force
    QCOMPARE(r.prompts.lastText(), QStringLiteral("Unable to write to %1").arg(path));
    QVERIFY(rig::framed(r.view(), r.cellOrigin(2, 2)));
    QVERIFY(rig::framed(r.page->paletteImage(), QPoint(0, 64)));
}

void TestMapView::paintsDroppedByPickAndWrittenBySave()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    const QByteArray original = r.core->rom.bytes();
    r.stamp.setSelectedBlock(9);
    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(2, 0));
    QCOMPARE(int(r.state.MapBytes[2]), 9);
    r.prompts.answer(Prompts::Answer::No);
    QVERIFY(r.pick(QStringLiteral("Route")));
    QCOMPARE(r.prompts.shown.back().buttons, Prompts::Buttons::YesNoCancel);
    QVERIFY(r.pick(QStringLiteral("Town")));
    QCOMPARE(int(r.state.MapBytes[2]), r.core->rom.byteAt(rig::TownStart + 2));
    QVERIFY(r.core->rom.byteAt(rig::TownStart + 2) != 9);
    QCOMPARE(r.core->rom.bytes(), original);

    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(2, 0));
    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(5, 3));
    r.session.writeWorkingCopies();
    QByteArray expected = original;
    expected[rig::TownStart + 2] = 9;
    expected[rig::TownStart + 65] = 9;
    QCOMPARE(r.core->rom.bytes(), expected);
}

void TestMapView::cellsBeyondTheBytesRead()
{
    MapRig r;
    // 5 x 4 cells, but only 15 bytes in the range; and 5 x 4 cells with 25 bytes.
    r.dir.write(QStringLiteral("Maps.Ini"),
                "[Short]\r\nStart offset=$5100\r\nEnd offset=$510E\r\nX size=5\r\nY size=4\r\nTileset=1\r\n"
                "[Long]\r\nStart offset=$5100\r\nEnd offset=$5118\r\nX size=5\r\nY size=4\r\nTileset=1\r\n");
    QVERIFY(r.pick(QStringLiteral("Short")));
    const QByteArray original = r.core->rom.bytes();
    for (int cell = 15; cell < 20; ++cell)
        QVERIFY(rig::allBlack(r.view(), r.cellOrigin(cell % 5, cell / 5)));
    r.stamp.setSelectedBlock(3);
    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(1, 3));  // cell 16: no byte
    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(4, 2));  // cell 14
    QVERIFY(rig::allBlack(r.view(), r.cellOrigin(1, 3)));
    QTest::mouseMove(r.page->MapBox, r.cellCentre(1, 3));
    QCOMPARE(r.statusTexts.last(), QStringLiteral("X: 1 Y: 3 Block: 00 Offset: 5110"));
    r.session.writeWorkingCopies();
    QByteArray expected = original;
    expected[rig::RouteStart + 14] = 3;
    QCOMPARE(r.core->rom.bytes(), expected);

    QVERIFY(r.pick(QStringLiteral("Long")));
    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(4, 3));  // cell 19
    r.session.writeWorkingCopies();
    expected[rig::RouteStart + 19] = 3;
    QCOMPARE(r.core->rom.bytes(), expected);  // bytes 20..24 written back as read
}

void TestMapView::loadRomClearsTheView()
{
    MapRig r(true);
    QVERIFY(r.pick(QStringLiteral("Town")));
    r.stamp.setSelectedBlock(4);
    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, r.cellCentre(0, 0));
    r.loadRom();
    QVERIFY(!r.page->MapBox->isEnabled());
    QCOMPARE(r.page->MapBox->size(), QSize(403, 266));
    QVERIFY(rig::allBlack(r.view(), QPoint(0, 0)));
    QCOMPARE(r.page->BlockPalette->height(), 0);
    QVERIFY(rig::allBlack(r.page->paletteImage(), QPoint(0, 0)));
    const QByteArray loaded = r.core->rom.bytes();
    r.session.writeWorkingCopies();
    QCOMPARE(r.core->rom.bytes(), loaded);
    // The view takes no input, and the grid toggle does not redraw it.
    QTest::mouseClick(r.page->MapBox, Qt::LeftButton, {}, QPoint(10, 10));
    r.Grid1->trigger();
    QVERIFY(rig::allBlack(r.view(), QPoint(0, 0)));
    // The tileset is built again from the new image on the next pick.
    r.tilesetBuilds = 0;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QCOMPARE(r.tilesetBuilds, 1);
    QVERIFY(r.page->MapBox->isEnabled());
}

QTEST_MAIN(TestMapView)
#include "tst_map_view.moc"
