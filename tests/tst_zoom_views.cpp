// The zoomable views on their own: what they show of the map, where the
// pointer lies in map units, and zooming around the pointer.
#include "catalogue/map_record.h"
#include "catalogue/rom_image.h"
#include "events/event_icons.h"
#include "events/event_renderer.h"
#include "events/ui/event_view.h"
#include "map/block_pictures.h"
#include "map/map_renderer.h"
#include "map/map_state.h"
#include "map/ui/map_view.h"
#include "widgets/zoom_setting.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

namespace {

// A 20 x 18 map of tileset 1; every third cell holds 0.
struct ViewRig {
    MapRecord map;
    MapState bytes;
    BlockPictures pictures;
    MapRenderer renderer{map, bytes, pictures};
    ZoomSetting zoom;
    QScrollArea area;
    MapView* view = nullptr;

    ViewRig()
    {
        for (int row = 0; row < 30; ++row) {
            QImage block(64, 64, QImage::Format_RGB32);
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x)
                    block.setPixel(x, y, qRgb(row * 8, x * 4, y * 4));
            pictures.setPicture(1, row, block);
        }
        QByteArray rom(0x400, '\0');
        for (int i = 0; i < 360; ++i)
            rom[0x10 + i] = char(i % 3 == 0 ? 0 : 1 + i % 30);
        RomImage image;
        image.setBytes(rom);
        map.name = QStringLiteral("Town");
        map.MapStart = 0x10;
        map.MapEnd = 0x10 + 359;
        map.MapWidth = 20;
        map.MapHeight = 18;
        map.TilesetNumber = 1;
        bytes.readMap(image, map);
        view = new MapView(renderer);
        view->followZoom(&zoom);
        area.setWidget(view);
        area.resize(420, 300);
        area.show();
        view->mapChanged();
    }

    QImage shown(const QRect& rect) const
    {
        return view->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
    }
};

void wheel(QWidget* widget, QPoint at, int angle, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, angle), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class TestZoomViews : public QObject {
    Q_OBJECT
private slots:
    void exposedRectanglesShowTheMap_data();
    void exposedRectanglesShowTheMap();
    void pointerInCellsAtEveryZoom_data();
    void pointerInCellsAtEveryZoom();
    void ctrlWheelKeepsThePointUnderThePointer_data();
    void ctrlWheelKeepsThePointUnderThePointer();
    void eventViewShowsTheMapAsItIs();
};

void TestZoomViews::exposedRectanglesShowTheMap_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QRect>("rect");
    for (bool grid : {false, true}) {
        const char* g = grid ? "grid on, " : "grid off, ";
        QTest::newRow(qPrintable(QByteArray(g) + "top left")) << grid << false << QRect(0, 0, 200, 150);
        QTest::newRow(qPrintable(QByteArray(g) + "odd place")) << grid << false << QRect(333, 97, 131, 77);
        QTest::newRow(qPrintable(QByteArray(g) + "bottom right")) << grid << false << QRect(1100, 1000, 180, 152);
        QTest::newRow(qPrintable(QByteArray(g) + "edited block")) << grid << true << QRect(0, 0, 1280, 1152);
    }
}

void TestZoomViews::exposedRectanglesShowTheMap()
{
    QFETCH(bool, grid);
    QFETCH(bool, edited);
    QFETCH(QRect, rect);
    ViewRig r;
    r.renderer.setGrid(grid);
    QCOMPARE(r.view->size(), QSize(1280, 1152));
    const QImage before = r.shown(rect);
    if (edited) {
        // Block 5 (palette row 4) redrawn, as the block editor's Save does.
        QImage block(64, 64, QImage::Format_RGB32);
        block.fill(qRgb(10, 200, 30));
        r.pictures.setPicture(1, 4, block);
        QVERIFY(r.shown(rect) != before);
    }
    QCOMPARE(r.shown(rect), r.renderer.picture().copy(rect));
}

void TestZoomViews::pointerInCellsAtEveryZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QPoint>("cell");
    QTest::newRow("100 %") << 100 << QPoint(64 * 3 + 63, 64 * 2) << QPoint(3, 2);
    QTest::newRow("50 %") << 50 << QPoint(32 * 3 + 31, 32 * 2) << QPoint(3, 2);
    QTest::newRow("25 %") << 25 << QPoint(16 * 19 + 15, 16 * 17 + 15) << QPoint(19, 17);
    QTest::newRow("400 %") << 400 << QPoint(256 * 3 + 255, 256 * 2 + 1) << QPoint(3, 2);
    QTest::newRow("left of the map") << 200 << QPoint(-1, 5) << QPoint(-1, 0);
}

void TestZoomViews::pointerInCellsAtEveryZoom()
{
    QFETCH(int, zoom);
    QFETCH(QPoint, pixel);
    QFETCH(QPoint, cell);
    ViewRig r;
    r.zoom.setPercent(zoom);
    QCOMPARE(r.view->size(), QSize(1280, 1152) * zoom / 100);
    QSignalSpy moved(r.view, &ZoomView::unitMoved);
    QSignalSpy pressed(r.view, &ZoomView::unitPressed);
    QTest::mousePress(r.view, Qt::LeftButton, {}, pixel);
    QTest::mouseMove(r.view, pixel);
    QCOMPARE(pressed.first().at(0).toPoint(), cell);
    QCOMPARE(moved.last().at(0).toPoint(), cell);
    QTest::mouseRelease(r.view, Qt::LeftButton, {}, pixel);
}

void TestZoomViews::ctrlWheelKeepsThePointUnderThePointer_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("zoom");
    QTest::newRow("in") << 120 << 200;
    QTest::newRow("two notches in") << 240 << 400;
    QTest::newRow("out") << -120 << 50;
    QTest::newRow("half a notch") << 60 << 100;
}

void TestZoomViews::ctrlWheelKeepsThePointUnderThePointer()
{
    QFETCH(int, angle);
    QFETCH(int, zoom);
    ViewRig r;
    QWidget* viewport = r.area.viewport();
    r.area.horizontalScrollBar()->setValue(300);
    r.area.verticalScrollBar()->setValue(200);
    const QPoint pointer(150, 90);   // in the viewport
    const QPoint before = r.view->mapFrom(viewport, pointer);
    wheel(r.view, before, angle, Qt::ControlModifier);
    QCOMPARE(r.zoom.percent(), zoom);
    QCOMPARE(r.view->zoom(), zoom);
    const QPoint after = r.view->mapFrom(viewport, pointer);
    QVERIFY2((after - before * zoom / 100).manhattanLength() <= 1,
             qPrintable(QStringLiteral("%1,%2").arg(after.x()).arg(after.y())));
    // Without Ctrl the wheel scrolls and leaves the zoom.
    wheel(r.view, after, -120, Qt::NoModifier);
    QCOMPARE(r.zoom.percent(), zoom);
}

void TestZoomViews::eventViewShowsTheMapAsItIs()
{
    ViewRig r;
    EventState events;
    events.WarpCount = 1;
    events.WarpTable[1].X = 3;
    events.WarpTable[1].Y = 1;
    const EventIcons icons;
    const EventRenderer renderer(icons);
    QScrollArea area;
    auto* view = new EventView(renderer, events);
    view->followZoom(&r.zoom);
    view->setBackground([&](QImage& target, QPoint at, const QRect& rect, int zoom) {
        r.renderer.render(target, at, rect, zoom);
    });
    view->setContentSize(1280, 1152);
    area.setWidget(view);
    area.resize(300, 200);
    area.show();
    QImage expected = r.renderer.picture();
    renderer.render(expected, QPoint(0, 0), expected.rect(), 100, events);
    const QRect rect(64, 0, 128, 96);
    QCOMPARE(view->grab(rect).toImage().convertToFormat(QImage::Format_RGB32), expected.copy(rect));
    // A map byte changed since is shown at once, beneath the icon too.
    r.bytes.MapBytes[5] = 7;
    expected = r.renderer.picture();
    renderer.render(expected, QPoint(0, 0), expected.rect(), 100, events);
    QCOMPARE(view->grab(rect).toImage().convertToFormat(QImage::Format_RGB32), expected.copy(rect));
    // At 200 % a square is 64 pixels: the warp's square reports (3, 1).
    r.zoom.setPercent(200);
    QSignalSpy pressed(view, &ZoomView::unitPressed);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(3 * 64 + 63, 64 + 1));
    QCOMPARE(pressed.first().at(0).toPoint(), QPoint(3, 1));
}

QTEST_MAIN(TestZoomViews)
#include "tst_zoom_views.moc"
