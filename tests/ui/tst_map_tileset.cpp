// Block pictures, the block picture cache and the block palette.
#include "ui_support/map_rig.h"

#include "model/map/block_blit.h"
#include "model/map/block_composer.h"

#include <QPainter>

class TestMapTileset : public QObject {
    Q_OBJECT
private slots:
    void composesTileCells_data();
    void composesTileCells();
    void otherPictureSizesKeepSixteenPixelSpacing();
    void blitClipsToBothPictures();
    void buildsBlocksPlusOnePictures();
    void sameTilesetIsNotRebuilt();
    void paletteGridFrames();
    void paletteReadoutAndPick_data();
    void paletteReadoutAndPick();
};

void TestMapTileset::composesTileCells_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("shownTile");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("17") << 17 << 17;
    QTest::newRow("95 is the last cell") << 95 << 95;
    QTest::newRow("96 shows tile 0") << 96 << 0;
    QTest::newRow("128 shows tile 0") << 128 << 0;
    QTest::newRow("255 shows tile 0") << 255 << 0;
}

void TestMapTileset::composesTileCells()
{
    QFETCH(int, byte);
    QFETCH(int, shownTile);
    TestDir dir;
    dir.writeTilePicture(QStringLiteral("t.bmp"));
    TilePicture pics;
    QVERIFY(pics.load(dir.file(QStringLiteral("t.bmp"))));

    // The byte under test in every position, with distinct neighbours.
    for (int at = 0; at < 16; ++at) {
        std::array<quint8, 16> tiles{};
        std::array<int, 16> shown{};
        for (int i = 0; i < 16; ++i) {
            tiles[size_t(i)] = quint8(i == at ? byte : 30 + i);
            shown[size_t(i)] = i == at ? shownTile : 30 + i;
        }
        QImage picture = BlockComposer::emptyBlock();
        BlockComposer::compose(picture, pics, tiles);
        QCOMPARE(picture.format(), QImage::Format_RGB32);
        QVERIFY2(rig::showsBlock(picture, QPoint(0, 0), shown), qPrintable(QString::number(at)));
        // The cell's corners: the tile fills the whole 16 x 16 square.
        const QPoint cell(16 * (at % 4), 16 * (at / 4));
        QCOMPARE(picture.pixel(cell), rig::tileRgb(shownTile));
        QCOMPARE(picture.pixel(cell + QPoint(15, 15)), rig::tileRgb(shownTile));
    }
}

void TestMapTileset::otherPictureSizesKeepSixteenPixelSpacing()
{
    // A 128 x 48 picture has 8 x 8 cells: each sits at 16-pixel spacing, the
    // rest of its square stays black.
    QImage small(128, 48, QImage::Format_RGB32);
    QPainter p(&small);
    for (int t = 0; t < 96; ++t)
        p.fillRect((t % 16) * 8, (t / 16) * 8, 8, 8, QColor::fromRgb(TestDir::tileColor(t)));
    p.end();
    TilePicture pics;
    pics.setImage(small);
    std::array<quint8, 16> tiles{};
    for (int i = 0; i < 16; ++i)
        tiles[size_t(i)] = quint8(20 + i);
    QImage picture = BlockComposer::emptyBlock();
    picture.fill(Qt::white);
    BlockComposer::compose(picture, pics, tiles);
    for (int i = 0; i < 16; ++i) {
        const QPoint cell(16 * (i % 4), 16 * (i / 4));
        QCOMPARE(picture.pixel(cell + QPoint(7, 7)), rig::tileRgb(20 + i));
        QCOMPARE(picture.pixel(cell + QPoint(8, 8)), 0xFF000000u);
    }

    // A 512 x 192 picture has 32 x 32 cells: a later tile covers the overlap.
    QImage large = small.scaled(512, 192);
    pics.setImage(large);
    BlockComposer::compose(picture, pics, tiles);
    QVERIFY(rig::showsBlock(picture, QPoint(0, 0),
                            {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35}));
}

void TestMapTileset::blitClipsToBothPictures()
{
    QImage target(64, 64, QImage::Format_RGB32);
    target.fill(Qt::white);
    QImage source(64, 64, QImage::Format_RGB32);
    source.fill(Qt::red);
    blitImage(target, QPoint(40, 50), source, QRect(0, 0, 64, 64));
    blitImage(target, QPoint(-70, 0), source, QRect(0, 0, 64, 64));
    blitImage(target, QPoint(0, 0), source, QRect(60, 60, 10, 10)); // partly outside the source
    QCOMPARE(target.pixel(63, 63), qRgb(255, 0, 0));
    QCOMPARE(target.pixel(40, 50), qRgb(255, 0, 0));
    QCOMPARE(target.pixel(39, 63), qRgb(255, 255, 255));
    QCOMPARE(target.pixel(3, 3), qRgb(255, 0, 0));
    QCOMPARE(target.pixel(4, 4), qRgb(255, 255, 255));
    QImage none;
    blitImage(none, QPoint(0, 0), source, source.rect());
    drawFrame(target, QRect(60, 60, 64, 64));
    QCOMPARE(target.pixel(60, 63), 0xFF000000u);
    QCOMPARE(target.pixel(61, 61), qRgb(255, 0, 0));
}

void TestMapTileset::buildsBlocksPlusOnePictures()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Cave")));  // tileset 3, Blocks 10
    for (int row = 0; row <= 10; ++row) {
        QVERIFY(r.pictures.has(3, row));
        QVERIFY(rig::showsBlock(r.pictures.picture(3, row), QPoint(0, 0),
                                rig::romBlock(r.core->rom, rig::Tileset3Start + 16 * row)));
    }
    QVERIFY(!r.pictures.has(3, 11));
    QVERIFY(!r.pictures.built(1));
    QCOMPARE(r.page->BlockPalette->size(), QSize(64, 640));
    QCOMPARE(r.lastProgressMaximum, 10);
    QCOMPARE(r.lastProgress, 10);
    // The palette shows rows 0 to 9; row 10's picture is drawn for a map byte of 11.
    QVERIFY(rig::showsBlock(r.page->paletteImage(), QPoint(0, 9 * 64),
                            rig::romBlock(r.core->rom, rig::Tileset3Start + 16 * 9)));
    QCOMPARE(r.state.MapBytes[10], quint8(11));
    QVERIFY(rig::showsBlock(r.view(), r.cellOrigin(2, 2),
                            rig::romBlock(r.core->rom, rig::Tileset3Start + 160)));
    QVERIFY(r.page->MapBox->isEnabled());
}

void TestMapTileset::sameTilesetIsNotRebuilt()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    const QImage built = r.pictures.picture(1, 0).copy();
    // Block bytes changed in the image after the build are not read again.
    for (int i = 0; i < 16; ++i)
        QVERIFY(r.core->rom.writeAt(rig::Tileset1Start + i, "\x05", 1));
    r.statusTexts.clear();
    QVERIFY(r.pick(QStringLiteral("Route")));
    QVERIFY(r.pick(QStringLiteral("Cave")));
    QVERIFY(r.pick(QStringLiteral("Town")));
    QCOMPARE(r.tilesetBuilds, 2);  // tileset 1 and tileset 3, once each
    QCOMPARE(r.pictures.picture(1, 0), built);
    QCOMPARE(r.page->BlockPalette->height(), 20 * 64);
    // After the third pick the palette reads the offsets of tileset 1.
    QTest::mouseMove(r.page->BlockPalette, QPoint(10, 64 * 2 + 5));
    QCOMPARE(r.statusTexts.last(), QStringLiteral("Block: 03 Offset: 1020"));
}

void TestMapTileset::paletteGridFrames()
{
    MapRig r(true);
    QVERIFY(r.pick(QStringLiteral("Town")));
    const QImage& palette = r.page->paletteImage();
    for (int row = 0; row <= 20; ++row) {
        QVERIFY2(rig::framed(palette, QPoint(0, 64 * row)), qPrintable(QString::number(row)));
        QCOMPARE(palette.pixel(1, 64 * row + 1), rig::tileRgb(rig::blockTile(row, 0)));
    }
    r.Grid1->trigger();
    QVERIFY(!r.Grid1->isChecked());
    for (int row = 0; row <= 20; ++row) {
        QVERIFY(rig::showsBlock(palette, QPoint(0, 64 * row), rig::romBlock(r.core->rom, rig::Tileset1Start + 16 * row)));
        QCOMPARE(palette.pixel(0, 64 * row), rig::tileRgb(rig::blockTile(row, 0)));
        QCOMPARE(palette.pixel(63, 64 * row + 63), rig::tileRgb(rig::blockTile(row, 15)));
    }
}

void TestMapTileset::paletteReadoutAndPick_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<int>("selected");
    QTest::newRow("row 0 top") << 0 << QStringLiteral("Block: 01 Offset: 1000") << 1;
    QTest::newRow("row 0 bottom") << 63 << QStringLiteral("Block: 01 Offset: 1000") << 1;
    QTest::newRow("row 1") << 64 << QStringLiteral("Block: 02 Offset: 1010") << 2;
    QTest::newRow("row 15") << 15 * 64 + 30 << QStringLiteral("Block: 10 Offset: 10F0") << 16;
    QTest::newRow("last row") << 20 * 64 - 1 << QStringLiteral("Block: 14 Offset: 1130") << 20;
}

void TestMapTileset::paletteReadoutAndPick()
{
    QFETCH(int, y);
    QFETCH(QString, readout);
    QFETCH(int, selected);
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    // The pointer reaches only the rows in sight.
    r.page->ScrollBox2->ensureVisible(20, y, 0, 10);
    QTest::mouseMove(r.page->BlockPalette, QPoint(20, y));
    QCOMPARE(r.statusTexts.last(), readout);
    QTest::mouseClick(r.page->BlockPalette, Qt::RightButton, {}, QPoint(20, y));
    QCOMPARE(r.stamp.selectedBlock(), selected);
    r.stamp.setSelectedBlock(0);
    QTest::mouseClick(r.page->BlockPalette, Qt::LeftButton, {}, QPoint(20, y));
    QCOMPARE(r.stamp.selectedBlock(), selected);
}

QTEST_MAIN(TestMapTileset)
#include "tst_map_tileset.moc"
