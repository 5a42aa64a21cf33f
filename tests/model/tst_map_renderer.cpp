// Drawing the map from the model: any rectangle at any zoom, the whole
// picture and its file.
#include "model/catalogue/map_record.h"
#include "model/rom/rom_image.h"
#include "base/view_zoom.h"
#include "model/map/block_blit.h"
#include "model/map/block_pictures.h"
#include "model/map/bmp_writer.h"
#include "model/map/map_renderer.h"
#include "model/map/map_state.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// A map of tileset 2 (7 x 5 blocks unless said otherwise) whose bytes are 0
// (nothing), built blocks, a block that was never built (40) and, past the
// bytes read, two cells without a byte.
struct Scene {
    const int W, H;
    MapRecord map;
    MapState bytes;
    BlockPictures pictures;
    MapRenderer renderer{map, bytes, pictures};

    explicit Scene(bool grid, int width = 7, int height = 5) : W(width), H(height)
    {
        for (int row = 0; row < 20; ++row)
            pictures.setPicture(2, row, blockPicture(row, 0));
        QByteArray rom(0x100 + W * H, '\0');
        for (int i = 0; i < W * H; ++i)
            rom[0x100 + i] = char(i % 9 == 4 ? 0 : i == 12 ? 40 : 1 + (i * 5) % 20);
        RomImage image;
        image.setBytes(rom);
        map.name = QStringLiteral("M");
        map.MapStart = 0x100;
        map.MapEnd = 0x100 + W * H - 3;
        map.MapWidth = W;
        map.MapHeight = H;
        map.TilesetNumber = 2;
        bytes.readMap(image, map);
        renderer.setGrid(grid);
    }

    static QImage blockPicture(int row, int seed)
    {
        QImage image(64, 64, QImage::Format_RGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                image.setPixel(x, y, qRgb(row * 12 + seed, x * 4, y * 4));
        return image;
    }

    // The map as the view's full-size surface used to hold it: black, each
    // cell copied or cleared column by column, then a frame around every cell.
    QImage composedTheOldWay() const
    {
        QImage surface(W * 64, H * 64, QImage::Format_RGB32);
        surface.fill(Qt::black);
        for (int x = 0; x < W; ++x)
            for (int y = 0; y < H; ++y) {
                const int cell = y * W + x;
                const int n = bytes.cellHasByte(cell) ? bytes.MapBytes[size_t(cell)] : 0;
                const QRect target(64 * x, 64 * y, 64, 64);
                if (n >= 1 && pictures.has(2, n - 1))
                    blitImage(surface, target.topLeft(), pictures.picture(2, n - 1), QRect(0, 0, 64, 64));
                else
                    fillBlack(surface, target);
                if (renderer.grid())
                    drawFrame(surface, target);
            }
        return surface;
    }

    QImage whole(int zoom) const
    {
        QImage image(int(renderer.viewWidth(zoom)), int(renderer.viewHeight(zoom)), QImage::Format_RGB32);
        image.fill(Qt::red);
        renderer.render(image, QPoint(0, 0), image.rect(), zoom);
        return image;
    }
};

} // namespace

class TestMapRenderer : public QObject {
    Q_OBJECT
private slots:
    void wholePictureAndFileAsBefore_data();
    void wholePictureAndFileAsBefore();
    void anyRectangleAtAnyZoom_data();
    void anyRectangleAtAnyZoom();
    void enlargedPixelsAndReducedFrames();
    void editedBlockShowsAtEveryZoom();
    void noMapDrawsNothing();
};

void TestMapRenderer::wholePictureAndFileAsBefore_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<int>("width");
    QTest::newRow("grid off") << false << 7;
    QTest::newRow("grid on") << true << 7;
    QTest::newRow("a long map, written in narrower bands") << true << 300;
}

void TestMapRenderer::wholePictureAndFileAsBefore()
{
    QFETCH(bool, grid);
    QFETCH(int, width);
    Scene s(grid, width, width > 7 ? 1 : 5);
    const QImage old = s.composedTheOldWay();
    QCOMPARE(s.renderer.picture(), old);

    QTemporaryDir dir;
    const QString before = dir.filePath(QStringLiteral("before.DIB")), now = dir.filePath(QStringLiteral("now.DIB"));
    QString error;
    QVERIFY(writeBmp24(before, old, &error));
    QVERIFY(s.renderer.writePicture(now, &error));
    QFile a(before), b(now);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), a.readAll());

    // A file that cannot be created is reported and leaves nothing behind.
    const QString blocked = dir.filePath(QStringLiteral("no/such/folder/map.DIB"));
    QVERIFY(!s.renderer.writePicture(blocked, &error));
    QCOMPARE(error, QStringLiteral("Cannot create file %1").arg(blocked));
}

void TestMapRenderer::anyRectangleAtAnyZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("grid");
    QTest::addColumn<QRect>("area");
    for (int zoom : ViewZoom::Levels)
        for (bool grid : {false, true}) {
            const QString name = QStringLiteral("%1 %, grid %2, ").arg(zoom).arg(grid ? "on" : "off");
            const int b = int(ViewZoom::scaled(64, zoom));
            QTest::newRow(qPrintable(name + "one cell")) << zoom << grid << QRect(b, b, b, b);
            QTest::newRow(qPrintable(name + "across cells")) << zoom << grid << QRect(b / 2 + 1, b - 3, 2 * b + 5, b + 7);
            QTest::newRow(qPrintable(name + "over the edge")) << zoom << grid << QRect(-9, 4 * b - 2, 8 * b, 3 * b);
            // Edges on a block's last pixel and on the next block's first.
            QTest::newRow(qPrintable(name + "edges on block edges")) << zoom << grid << QRect(b - 1, b - 1, b + 2, b + 2);
            QTest::newRow(qPrintable(name + "one pixel row")) << zoom << grid << QRect(0, 2 * b, 3 * b + 1, 1);
        }
}

// A rectangle drawn on its own, anywhere in a larger picture, shows what the
// whole map at that zoom shows there; outside the map nothing is touched.
void TestMapRenderer::anyRectangleAtAnyZoom()
{
    QFETCH(int, zoom);
    QFETCH(bool, grid);
    QFETCH(QRect, area);
    Scene s(grid);
    const QImage whole = s.whole(zoom);
    QImage target(area.width() + 10, area.height() + 6, QImage::Format_RGB32);
    target.fill(Qt::red);
    const QPoint at(7, 3);
    s.renderer.render(target, at, area, zoom);
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) {
            const QPoint view = QPoint(x, y) - at + area.topLeft();
            const bool drawn = area.contains(view) && whole.rect().contains(view);
            if (target.pixel(x, y) != (drawn ? whole.pixel(view) : qRgb(255, 0, 0)))
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
        }
}

void TestMapRenderer::enlargedPixelsAndReducedFrames()
{
    Scene s(false);
    const QImage actual = s.whole(100);
    for (int zoom : {200, 400}) {
        const QImage big = s.whole(zoom);
        for (int y = 0; y < big.height(); y += 3)
            for (int x = 0; x < big.width(); x += 5)
                QCOMPARE(big.pixel(x, y), actual.pixel(x * 100 / zoom, y * 100 / zoom));
    }
    // Reduced, a cell still shows its block, and the grid still frames each cell.
    s.renderer.setGrid(true);
    for (int zoom : {25, 50}) {
        const QImage small = s.whole(zoom);
        const int b = 64 * zoom / 100;
        QCOMPARE(small.size(), QSize(s.W * b, s.H * b));
        for (int k = 0; k < b; ++k) {
            QCOMPARE(small.pixel(b + k, b), qRgb(0, 0, 0));
            QCOMPARE(small.pixel(b + k, 2 * b - 1), qRgb(0, 0, 0));
            QCOMPARE(small.pixel(b, b + k), qRgb(0, 0, 0));
        }
        const QRgb inside = small.pixel(b + b / 2, b + b / 2);   // cell (1, 1): block 1 + 40 % 20
        QCOMPARE(qRed(inside), 0);
        QVERIFY(qGreen(inside) > 64 && qBlue(inside) > 64);
        QCOMPARE(small.pixel(4 * b + b / 2, 0 * b + b / 2), qRgb(0, 0, 0));   // cell 4 holds 0
    }
}

void TestMapRenderer::editedBlockShowsAtEveryZoom()
{
    Scene s(false);
    // Cell (0, 0) holds block 1 (palette row 0).
    QCOMPARE(int(s.bytes.MapBytes[0]), 1);
    for (int zoom : ViewZoom::Levels) {
        const QRgb before = s.whole(zoom).pixel(1, 1);
        s.pictures.setPicture(2, 0, Scene::blockPicture(0, 200 + zoom / 25));
        const QRgb after = s.whole(zoom).pixel(1, 1);
        QVERIFY2(after != before, qPrintable(QStringLiteral("%1 %").arg(zoom)));
        QCOMPARE(qRed(after), 200 + zoom / 25);
    }
}

void TestMapRenderer::noMapDrawsNothing()
{
    Scene s(true);
    s.bytes.clearMap();
    QCOMPARE(s.renderer.viewWidth(100), 0);
    QImage target(64, 64, QImage::Format_RGB32);
    target.fill(Qt::red);
    s.renderer.render(target, QPoint(0, 0), target.rect(), 100);
    QCOMPARE(target.pixel(10, 10), qRgb(255, 0, 0));
    QVERIFY(s.renderer.picture().isNull());
}

QTEST_MAIN(TestMapRenderer)
#include "tst_map_renderer.moc"
