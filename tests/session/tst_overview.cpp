// The overview's thumbnails: their cells against the pick's own block
// pictures, the pick's refusals in their place, and the key that tells
// which pictures a change of the image makes old.
#include "session/editor_session.h"
#include "session/map_thumbnail.h"
#include "session/overview_drawing.h"
#include "support/catalogue_fixture.h"
#include "support/scripted_prompts.h"

#include <QSignalSpy>
#include <QtTest>

class TestOverview : public QObject {
    Q_OBJECT
private slots:
    void cellsAsThePickShowsThem_data();
    void cellsAsThePickShowsThem();
    void refusalsInsteadOfPictures_data();
    void refusalsInsteadOfPictures();
    void drawnAgainOnlyAfterAChange_data();
    void drawnAgainOnlyAfterAChange();
    void jobHandsBackEveryMap();
};

void TestOverview::cellsAsThePickShowsThem_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<int>("side");   // pixels per block
    QTest::newRow("10 x 9") << "Alpha Town" << 8;
    QTest::newRow("4 x 4") << "Beta Town" << 8;
    QTest::newRow("20 x 18") << "Route 1" << 4;
}

void TestOverview::cellsAsThePickShowsThem()
{
    QFETCH(QString, map);
    QFETCH(int, side);
    CatalogueFixture files;
    // Cells of every kind: no block (0), blocks of the tileset, bytes past its blocks.
    QByteArray image = TestDir::patternRom(CatalogueFixture::RomSize);
    for (int i = 0; i < 360; ++i) {
        image[0x1000 + i] = char(i % 13);
        image[0x2000 + i % 16] = char(i % 7);
        image[0x3000 + i] = char(i % 12);
    }
    image[0x1000 + 89] = char(0xFF);
    files.dir.write("rom.gbc", image);
    EditorState state(files.dir.path());
    ScriptedPrompts prompts;
    EditorSession session(state, prompts);
    QVERIFY(session.loadRom(files.dir.file("rom.gbc")).isDone());
    QVERIFY(session.pickMap(map).outcome.isDone());
    const MapRecord& record = state.core.map;

    MapThumbnailDrawer drawer(state.core.catalogue, state.core.rom.bytes());
    const MapThumbnail thumbnail = drawer.draw(map);
    QVERIFY2(thumbnail.refusal.isEmpty(), qPrintable(thumbnail.refusal));
    QVERIFY(thumbnail.key != 0);
    QCOMPARE(thumbnail.picture.size(), QSize(record.MapWidth * side, record.MapHeight * side));
    int shown = 0;
    for (int cell = 0; cell < record.MapWidth * record.MapHeight; ++cell) {
        const int n = state.map.MapBytes[size_t(cell)];
        QRgb expected = qRgb(0, 0, 0);
        if (n >= 1 && state.pictures.has(record.TilesetNumber, n - 1)) {
            const QImage small = state.pictures.picture(record.TilesetNumber, n - 1)
                                     .scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            expected = small.pixel(side / 2, side / 2);
            ++shown;
        }
        const QPoint at((cell % record.MapWidth) * side + side / 2, (cell / record.MapWidth) * side + side / 2);
        QCOMPARE(QString::number(thumbnail.picture.pixel(at), 16), QString::number(expected | 0xFF000000u, 16));
    }
    QVERIFY(shown > 0);
}

void TestOverview::refusalsInsteadOfPictures_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("file");      // a catalogue file written over the fixture's, or none
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("refusal");   // %1: the catalogue folder
    QTest::newRow("no section") << "Gamma" << QString() << QString() << "Map \"Gamma\" has no section in Maps.Ini.";
    QTest::newRow("no tile picture")
        << "Beta Town" << "Tilesets.ini"
        << "[1]\r\nBlocks=10\r\nStart offset=0x8000\r\nTiles=tiles\\Outdoor.bmp\r\n"
           "[2]\r\nBlocks=4\r\nStart offset=0x9000\r\nTiles=tiles\\gone.bmp\r\n"
        << "Cannot open file %1/tiles/gone.bmp";
    QTest::newRow("tileset 21")
        << "Beta Town" << "Maps.Ini"
        << "[Beta Town]\r\nStart offset=$2000\r\nEnd offset=$200F\r\nX size=4\r\nY size=4\r\nTileset=21\r\n"
        << "Map \"Beta Town\" cannot be shown: tileset 21 is not from 1 to 20.";
    QTest::newRow("bytes past the image")
        << "Beta Town" << "Maps.Ini"
        << "[Beta Town]\r\nStart offset=$FFF8\r\nEnd offset=$10007\r\nX size=4\r\nY size=4\r\nTileset=2\r\n"
        << "Map \"Beta Town\" cannot be shown: its bytes FFF8 to 10007 lie outside the ROM image.";
}

void TestOverview::refusalsInsteadOfPictures()
{
    QFETCH(QString, map);
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(QString, refusal);
    CatalogueFixture files;
    if (!file.isEmpty())
        files.dir.write(file, content.toUtf8());
    Catalogue catalogue(files.dir.path());
    MapThumbnailDrawer drawer(catalogue, TestDir::patternRom(CatalogueFixture::RomSize));
    const MapThumbnail thumbnail = drawer.draw(map);
    QCOMPARE(thumbnail.refusal, QString(refusal).replace("%1", files.dir.path()));
    QVERIFY(thumbnail.picture.isNull());
    QCOMPARE(thumbnail.key, quint64(0));
}

void TestOverview::drawnAgainOnlyAfterAChange_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("drawnAgain");
    // Beta Town: 16 bytes at 0x2000, tileset 2 of blocks 0..4 at 0x9000.
    QTest::newRow("a cell of the map") << 0x2005 << true;
    QTest::newRow("first block's tiles") << 0x9000 << true;
    QTest::newRow("last block's tiles") << 0x904F << true;
    QTest::newRow("past the tileset") << 0x9050 << false;
    QTest::newRow("past the map") << 0x2010 << false;
    QTest::newRow("another map") << 0x1000 << false;
}

void TestOverview::drawnAgainOnlyAfterAChange()
{
    QFETCH(int, offset);
    QFETCH(bool, drawnAgain);
    CatalogueFixture files;
    Catalogue catalogue(files.dir.path());
    QByteArray image = TestDir::patternRom(CatalogueFixture::RomSize);
    // Every cell shows one of blocks 1 to 5 of the tileset, so that a change of tiles shows.
    for (int i = 0; i < 16; ++i)
        image[0x2000 + i] = char(1 + i % 5);
    const MapThumbnail before = MapThumbnailDrawer(catalogue, image).draw("Beta Town");
    QVERIFY(before.key != 0);

    image[offset] = char(quint8(image[offset]) == 3 ? 4 : 3);
    MapThumbnailDrawer drawer(catalogue, image);
    const MapThumbnail again = drawer.draw("Beta Town", before.key);
    QCOMPARE(again.unchanged, !drawnAgain);
    QCOMPARE(again.picture.isNull(), !drawnAgain);
    if (drawnAgain) {
        QVERIFY(again.key != before.key);
        QVERIFY(again.picture != before.picture);
    }
    // Without a key held, the same drawer draws it whole, as it was or changed.
    const MapThumbnail whole = drawer.draw("Beta Town");
    QCOMPARE(whole.picture == before.picture, !drawnAgain);
}

void TestOverview::jobHandsBackEveryMap()
{
    CatalogueFixture files;
    Catalogue catalogue(files.dir.path());
    const QByteArray image = TestDir::patternRom(CatalogueFixture::RomSize);
    const QStringList names{"Alpha Town", "Beta Town", "Gamma", "Route 1"};
    OverviewDrawing drawing;
    QHash<QString, MapThumbnail> got;
    int finished = 0;
    connect(&drawing, &OverviewDrawing::drawn, this, [&](const QList<MapThumbnail>& batch) {
        for (const MapThumbnail& t : batch)
            got.insert(t.name, t);
    });
    connect(&drawing, &OverviewDrawing::finished, this, [&] { ++finished; });

    // A job stopped by the next one says nothing more.
    drawing.start(catalogue, image, names, {});
    drawing.start(catalogue, image, names, {});
    QTRY_COMPARE(finished, 1);
    QCOMPARE(got.size(), names.size());
    QCOMPARE(got["Gamma"].refusal, QStringLiteral("Map \"Gamma\" has no section in Maps.Ini."));

    QHash<QString, quint64> known;
    for (const MapThumbnail& t : std::as_const(got))
        known.insert(t.name, t.key);
    got.clear();
    drawing.start(catalogue, image, names, known);
    QTRY_COMPARE(finished, 2);
    QCOMPARE(got.size(), names.size());
    for (const char* name : {"Alpha Town", "Beta Town", "Route 1"})
        QVERIFY2(got[name].unchanged && got[name].picture.isNull(), name);
    QVERIFY(!got["Gamma"].unchanged);
}

QTEST_MAIN(TestOverview)
#include "tst_overview.moc"
