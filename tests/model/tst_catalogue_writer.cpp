// Making a catalogue from a bare image: the cartridge's 2-bit tiles, the
// search for map data, and records written into the catalogue files.
#include "model/catalogue/catalogue.h"
#include "model/catalogue/catalogue_writer.h"
#include "model/catalogue/map_record.h"
#include "model/map/cartridge_tiles.h"
#include "model/map/map_data_finder.h"
#include "model/rom/rom_image.h"
#include "support/catalogue_fixture.h"

#include <QUndoStack>
#include <QtTest>

class TestCatalogueWriter : public QObject {
    Q_OBJECT
private slots:
    void tileRows_data();
    void tileRows();
    void pictureLayoutAndPalette();
    void mapData_data();
    void mapData();
    void newMapKeepsEveryOtherByte_data();
    void newMapKeepsEveryOtherByte();
    void changedMapKeepsValueForms();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void undoGivesBackEachFile();
    void failedWritePutsBackEarlierFiles();
    void categoryAndTileset();
    void removeMapMovesTheOthersUp_data();
    void removeMapMovesTheOthersUp();
};

using Row = QList<int>;

void TestCatalogueWriter::tileRows_data()
{
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<Row>("colours");
    QTest::newRow("blank") << 0x00 << 0x00 << Row{0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("low plane only") << 0xFF << 0x00 << Row{1, 1, 1, 1, 1, 1, 1, 1};
    QTest::newRow("high plane only") << 0x00 << 0xFF << Row{2, 2, 2, 2, 2, 2, 2, 2};
    QTest::newRow("leftmost pixel is bit 7") << 0x80 << 0x01 << Row{1, 0, 0, 0, 0, 0, 0, 2};
    QTest::newRow("mixed") << 0x3C << 0x7E << Row{0, 2, 3, 3, 3, 3, 2, 0};
}

void TestCatalogueWriter::tileRows()
{
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(Row, colours);
    // Rows 0 and 7 carry the pair; the rows between are blank.
    uchar bytes[16] = {};
    bytes[0] = uchar(low), bytes[1] = uchar(high);
    bytes[14] = uchar(low), bytes[15] = uchar(high);
    const CartridgeTiles::TilePixels pixels = CartridgeTiles::decodeTile(bytes);
    for (int x = 0; x < 8; ++x) {
        QCOMPARE(int(pixels[size_t(x)]), colours[x]);
        QCOMPARE(int(pixels[size_t(56 + x)]), colours[x]);
        QCOMPARE(int(pixels[size_t(8 + x)]), 0);
    }
}

void TestCatalogueWriter::pictureLayoutAndPalette()
{
    QByteArray bytes(0x800, '\0');
    // Tile 17 (column 1, row 1) at 0x100: its top row's leftmost pixel is colour 3, the next colour 1.
    bytes[0x100 + 17 * 16] = char(0xC0);
    bytes[0x100 + 17 * 16 + 1] = char(0x80);
    // A palette: red, green, blue, and 16/16/16.
    const char palette[8] = {0x1F, 0x00, char(0xE0), 0x03, 0x00, 0x7C, 0x10, 0x42};
    bytes.replace(0x700, 8, QByteArray(palette, 8));
    RomImage rom;
    rom.setBytes(bytes);

    QImage picture;
    QVERIFY(CartridgeTiles::picture(rom, 0x100, CartridgeTiles::greys(), &picture).isEmpty());
    QCOMPARE(picture.size(), QSize(256, 96));
    // Each pixel drawn at 2x: the cell of tile 17 starts at (16, 16).
    for (QPoint p : {QPoint(16, 16), QPoint(17, 16), QPoint(16, 17), QPoint(17, 17)})
        QCOMPARE(picture.pixel(p), qRgb(0, 0, 0));
    QCOMPARE(picture.pixel(18, 16), qRgb(0xAA, 0xAA, 0xAA));
    QCOMPARE(picture.pixel(20, 16), qRgb(0xFF, 0xFF, 0xFF));
    QCOMPARE(picture.pixel(15, 16), qRgb(0xFF, 0xFF, 0xFF));

    const auto colours = CartridgeTiles::paletteAt(rom, 0x700);
    QVERIFY(colours);
    QCOMPARE((*colours)[0], qRgb(255, 0, 0));
    QCOMPARE((*colours)[1], qRgb(0, 255, 0));
    QCOMPARE((*colours)[2], qRgb(0, 0, 255));
    QCOMPARE((*colours)[3], qRgb(132, 132, 132));
    QVERIFY(CartridgeTiles::picture(rom, 0x100, *colours, &picture).isEmpty());
    QCOMPARE(picture.pixel(16, 16), qRgb(132, 132, 132));
    QCOMPARE(picture.pixel(18, 16), qRgb(0, 255, 0));

    // The last palette and the last 96 tiles that fit; one byte further is refused.
    QVERIFY(CartridgeTiles::paletteAt(rom, 0x7F8));
    QVERIFY(!CartridgeTiles::paletteAt(rom, 0x7F9));
    QVERIFY(!CartridgeTiles::paletteAt(rom, -1));
    QVERIFY(CartridgeTiles::picture(rom, 0x800 - 96 * 16, *colours, &picture).isEmpty());
    QImage untouched;
    QVERIFY(!CartridgeTiles::picture(rom, 0x800 - 96 * 16 + 1, *colours, &untouched).isEmpty());
    QVERIFY(untouched.isNull());
}

using Found = QList<QList<qint64>>; // offset, length, repeated

void TestCatalogueWriter::mapData_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("width");
    QTest::addColumn<Found>("expected");
    // Bytes 1 to `blocks` are blocks; 0 and larger bytes end a stretch.
    QTest::newRow("longest first, repeated last")
        << QByteArray("\x00\x05\x05\x05\x05\x05\x05\x00\x01\x02\x03\x04\x00\x09\x01\x02\x03\x01\x02\x03\x09", 21) << 5 << 2
        << Found{{14, 6, 0}, {8, 4, 0}, {1, 6, 1}};
    QTest::newRow("a byte past the count ends the stretch")
        << QByteArray("\x01\x02\x03\x04\x05\x01\x02\x03\x04", 9) << 4 << 2 << Found{{0, 4, 0}, {5, 4, 0}};
    QTest::newRow("shorter than two rows is left out") << QByteArray("\x01\x02\x03\x00\x01\x02\x03\x04", 8) << 4 << 2
                                                        << Found{{4, 4, 0}};
    QTest::newRow("stretch to the image's end") << QByteArray("\x00\x00\x02\x02\x01", 5) << 2 << 1 << Found{{2, 3, 0}};
    QTest::newRow("equal lengths by offset") << QByteArray("\x01\x02\x00\x02\x01", 5) << 2 << 1
                                             << Found{{0, 2, 0}, {3, 2, 0}};
}

void TestCatalogueWriter::mapData()
{
    QFETCH(QByteArray, image);
    QFETCH(int, blocks);
    QFETCH(int, width);
    QFETCH(Found, expected);
    Found found;
    for (const MapDataStretch& s : findMapData(image, {blocks, width, 2, 100}))
        found.append({s.offset, s.length, s.repeated ? 1 : 0});
    QCOMPARE(found, expected);
    QCOMPARE(findMapData(image, {blocks, width, 2, 1}).size(), qMin<qsizetype>(1, expected.size()));
}

namespace {

MapFields cave()
{
    MapFields m;
    m.name = QStringLiteral("Cave");
    m.category = QStringLiteral("Towns");
    m.start = 0x4000;
    m.width = 3;
    m.height = 2;
    m.tileset = 2;
    return m;
}

} // namespace

void TestCatalogueWriter::newMapKeepsEveryOtherByte_data()
{
    QTest::addColumn<QByteArray>("maps");     // Maps.Ini before
    QTest::addColumn<QByteArray>("expected"); // Maps.Ini after adding "Cave" at 0x4000
    const QByteArray added = "[Cave]\r\nStart offset=%1\r\nEnd offset=%2\r\nX size=3\r\nY size=2\r\nTileset=2\r\n";
    auto with = [&](const char* start, const char* end) { return QByteArray(added).replace("%1", start).replace("%2", end); };
    QTest::newRow("decimal, LF") << QByteArray("; maps\n[A]\nStart offset=4096\nX size=1\n")
                                 << "; maps\n[A]\nStart offset=4096\nX size=1\n" + with("16384", "16389");
    QTest::newRow("0x, CRLF, comments") << QByteArray("[A]\r\n;old=1\r\nStart offset = 0x1000\r\n\r\n; end\r\n")
                                        << "[A]\r\n;old=1\r\nStart offset = 0x1000\r\n\r\n; end\r\n" + with("0x4000", "0x4005");
    QTest::newRow("dollar, lower-case digits, no last line end") << QByteArray("[A]\nEnd offset=$1a2b")
                                                                 << "[A]\nEnd offset=$1a2b\r\n" + with("$4000", "$4005");
    QTest::newRow("most offsets win") << QByteArray("[B]\nStart offset=0x30\nX size=$3\n[A]\nStart offset=$10\nEnd offset=$20\n")
                                      << "[B]\nStart offset=0x30\nX size=$3\n[A]\nStart offset=$10\nEnd offset=$20\n" + with("$4000", "$4005");
    QTest::newRow("ANSI letters kept") << QByteArray("[Caf\xE9]\r\nStart offset=$10\r\n")
                                       << "[Caf\xE9]\r\nStart offset=$10\r\n" + with("$4000", "$4005");
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF[Caf\xC3\xA9]\nStart offset=0X1F\n")
                                     << "\xEF\xBB\xBF[Caf\xC3\xA9]\nStart offset=0X1F\n" + with("0X4000", "0X4005");
    QTest::newRow("empty file") << QByteArray() << with("16384", "16389");
}

void TestCatalogueWriter::newMapKeepsEveryOtherByte()
{
    QFETCH(QByteArray, maps);
    QFETCH(QByteArray, expected);
    CatalogueFixture f;
    f.dir.write("Maps.Ini", maps);
    const QByteArray main = f.dir.read("Main.Ini");
    Catalogue catalogue(f.dir.path());
    const CatalogueWrite w = CatalogueWriter(catalogue, CatalogueFixture::RomSize).writeMap(cave(), true);
    QVERIFY2(w.ok(), qPrintable(w.refusal));
    QCOMPARE(f.dir.read("Maps.Ini"), expected);
    QCOMPARE(f.dir.read("Main.Ini"), QByteArray(main).replace("3=Gamma\r\n", "3=Gamma\r\n4=Cave\r\n"));
    // Nothing to say about wild tables or events: those files stay untouched.
    QCOMPARE(f.dir.read("Events.ini"), QByteArray());
    QCOMPARE(f.dir.read("Maps.Ini.bak"), maps.isEmpty() ? QByteArray() : maps);
    QCOMPARE(readMapRecord(catalogue, "Cave").MapEnd, 0x4005);
}

void TestCatalogueWriter::changedMapKeepsValueForms()
{
    CatalogueFixture f;
    Catalogue catalogue(f.dir.path());
    CatalogueWriter writer(catalogue, CatalogueFixture::RomSize);
    MapFields m = writer.readMap("Beta Town");
    QCOMPARE(m.category, QString("Towns"));
    QCOMPARE(m.start, 0x2000);
    m.start = 0x2100;
    m.width = 5;
    m.warps = 2;
    m.warpOffset = 0x6000;
    m.comment.clear();
    const QByteArray tilesets = f.dir.read("Tilesets.ini");
    QVERIFY(writer.writeMap(m, false).ok());
    const QByteArray maps = f.dir.read("Maps.Ini");
    QVERIFY(maps.contains("[Beta Town]\r\nStart offset=$2100\r\nEnd offset=$2113\r\nX size=5\r\nY size=4\r\nTileset=2\r\nComment=\r\n[Route 1]"));
    QVERIFY(maps.startsWith("[Alpha Town]\r\nStart offset=0x1000\r\n"));
    // Events.ini holds no offsets to follow: its new ones are decimal.
    QCOMPARE(f.dir.read("Events.ini"), QByteArray("[Beta Town]\r\nWarps=2\r\nWarp offset=24576\r\nSingposts=0\r\n"
                                                  "Singpost offset=0\r\nPeoples=0\r\nPeople offset=0\r\n"));
    QCOMPARE(f.dir.read("Tilesets.ini"), tilesets);
    QCOMPARE(writer.readMap("Beta Town").warpOffset, 0x6000);
}

void TestCatalogueWriter::refusalsWriteNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("width");
    QTest::addColumn<QString>("refusal");
    const qint64 size = CatalogueFixture::RomSize;
    QTest::newRow("name listed, other case") << "beta town" << qint64(0x4000) << qint64(3) << "already in the catalogue";
    QTest::newRow("name only listed") << "Gamma" << qint64(0x4000) << qint64(3) << "already in the catalogue";
    QTest::newRow("no name") << " " << qint64(0x4000) << qint64(3) << "needs a name";
    QTest::newRow("offset past the image") << "Cave" << size << qint64(3) << "past the end of the ROM image";
    QTest::newRow("negative offset") << "Cave" << qint64(-1) << qint64(3) << "past the end of the ROM image";
    QTest::newRow("map runs past the image") << "Cave" << size - 5 << qint64(3) << "runs past the end";
    QTest::newRow("more blocks than a map holds") << "Cave" << qint64(0) << qint64(5001) << "exceeds 10000 blocks";
}

void TestCatalogueWriter::refusalsWriteNothing()
{
    QFETCH(QString, name);
    QFETCH(qint64, start);
    QFETCH(qint64, width);
    QFETCH(QString, refusal);
    CatalogueFixture f;
    const QStringList files{"Main.Ini", "Maps.Ini", "Critters.ini", "Events.ini"};
    QList<QByteArray> before;
    for (const QString& file : files)
        before << f.dir.read(file);
    Catalogue catalogue(f.dir.path());
    MapFields m = cave();
    m.name = name;
    m.start = start;
    m.width = width;
    const CatalogueWrite w = CatalogueWriter(catalogue, CatalogueFixture::RomSize).writeMap(m, true);
    QVERIFY2(w.refusal.contains(refusal), qPrintable(w.refusal));
    for (int i = 0; i < files.size(); ++i) {
        QCOMPARE(f.dir.read(files[i]), before[i]);
        QVERIFY(!QFile::exists(f.dir.file(files[i] + ".bak")));
    }
}

void TestCatalogueWriter::undoGivesBackEachFile()
{
    CatalogueFixture f;
    f.dir.write("Critters.ini", "[Settings]\nGrid=1\n");
    QFile::remove(f.dir.file("Events.ini"));
    const QByteArray main = f.dir.read("Main.Ini"), maps = f.dir.read("Maps.Ini"), critters = f.dir.read("Critters.ini");
    Catalogue catalogue(f.dir.path());
    MapFields m = cave();
    m.category = "Caves";
    m.wildOffset = 0x5100;
    m.people = 1;
    m.peopleOffset = 0x5200;
    CatalogueWrite w = CatalogueWriter(catalogue, CatalogueFixture::RomSize).writeMap(m, true);
    QVERIFY2(w.ok(), qPrintable(w.refusal));
    const QByteArray mainAfter = f.dir.read("Main.Ini"), eventsAfter = f.dir.read("Events.ini");
    QVERIFY(mainAfter.endsWith("[Caves]\r\n1=Cave\r\n"));
    QCOMPARE(f.dir.read("Critters.ini"), critters + "[Cave]\r\nStart offset=20736\r\n");

    int changes = 0;
    QUndoStack stack;
    stack.push(new CatalogueChangeCommand("New Map", w.change, [&] { ++changes; }));
    QCOMPARE(f.dir.read("Main.Ini"), mainAfter); // the first redo finds the files written
    stack.undo();
    QCOMPARE(f.dir.read("Main.Ini"), main);
    QCOMPARE(f.dir.read("Maps.Ini"), maps);
    QCOMPARE(f.dir.read("Critters.ini"), critters);
    QVERIFY(!QFile::exists(f.dir.file("Events.ini")));
    QVERIFY(!catalogue.MapsIni.hasSection("Cave"));
    stack.redo();
    QCOMPARE(f.dir.read("Main.Ini"), mainAfter);
    QCOMPARE(f.dir.read("Events.ini"), eventsAfter);
    QVERIFY(catalogue.MapsIni.hasSection("Cave"));
    QCOMPARE(changes, 3);
}

void TestCatalogueWriter::failedWritePutsBackEarlierFiles()
{
    CatalogueFixture f;
    QFile::remove(f.dir.file("Events.ini"));
    QVERIFY(QDir(f.dir.path()).mkdir("Events.ini")); // cannot be written as a file
    const QByteArray main = f.dir.read("Main.Ini"), maps = f.dir.read("Maps.Ini");
    Catalogue catalogue(f.dir.path());
    MapFields m = cave();
    m.warps = 1;
    const CatalogueWrite w = CatalogueWriter(catalogue, CatalogueFixture::RomSize).writeMap(m, true);
    QVERIFY2(w.refusal.contains("Events.ini"), qPrintable(w.refusal));
    QCOMPARE(f.dir.read("Main.Ini"), main);
    QCOMPARE(f.dir.read("Maps.Ini"), maps);
    QVERIFY(!catalogue.MapsIni.hasSection("Cave"));
}

void TestCatalogueWriter::categoryAndTileset()
{
    CatalogueFixture f;
    f.dir.write("Main.Ini", "[Towns]\n1=Alpha Town");
    Catalogue catalogue(f.dir.path());
    CatalogueWriter writer(catalogue, CatalogueFixture::RomSize);
    QVERIFY(writer.addCategory("Caves").ok());
    QCOMPARE(f.dir.read("Main.Ini"), QByteArray("[Towns]\n1=Alpha Town\r\n[Caves]\r\n"));
    QCOMPARE(catalogue.MainIni.sections(), QStringList({"Towns", "Caves"}));
    QVERIFY(writer.addCategory("towns").refusal.contains("already"));

    TilesetFields t = writer.readTileset(3);
    QCOMPARE(t.blocks, 0);
    t.blocks = 12;
    t.start = 0xA000;
    t.tiles = "tiles/three.bmp";
    const QByteArray tilesets = f.dir.read("Tilesets.ini");
    QVERIFY(writer.writeTileset(t).ok());
    QCOMPARE(f.dir.read("Tilesets.ini"), tilesets + "[3]\r\nBlocks=12\r\nStart offset=0xA000\r\nTiles=tiles/three.bmp\r\n");
    t.start = CatalogueFixture::RomSize - 16 * 12; // 13 blocks are read
    QVERIFY(writer.writeTileset(t).refusal.contains("run past"));
    t.number = 21;
    QVERIFY(!writer.writeTileset(t).ok());
    QCOMPARE(f.dir.read("Tilesets.ini.bak"), tilesets);
}

void TestCatalogueWriter::removeMapMovesTheOthersUp_data()
{
    QTest::addColumn<QByteArray>("main");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("first of three, comment kept")
        << QByteArray("[Towns]\r\n1=A\r\n; note\r\n2=B\r\n3=C\r\n[Routes]\r\n1=R\r\n") << "a"
        << QByteArray("[Towns]\r\n1=B\r\n; note\r\n2=C\r\n[Routes]\r\n1=R\r\n");
    QTest::newRow("last, LF, no line end") << QByteArray("[Towns]\n1=A\n2=B") << "B" << QByteArray("[Towns]\n1=A\n");
    QTest::newRow("only map") << QByteArray("[Routes]\n1=R\n[Towns]\n1=A\n") << "A" << QByteArray("[Routes]\n1=R\n[Towns]\n");
}

void TestCatalogueWriter::removeMapMovesTheOthersUp()
{
    QFETCH(QByteArray, main);
    QFETCH(QString, map);
    QFETCH(QByteArray, expected);
    CatalogueFixture f;
    f.dir.write("Main.Ini", main);
    const QByteArray maps = f.dir.read("Maps.Ini");
    Catalogue catalogue(f.dir.path());
    CatalogueWriter writer(catalogue, CatalogueFixture::RomSize);
    const CatalogueWrite w = writer.removeMap(map);
    QVERIFY2(w.ok(), qPrintable(w.refusal));
    QCOMPARE(f.dir.read("Main.Ini"), expected);
    QCOMPARE(f.dir.read("Maps.Ini"), maps);
    QVERIFY(!writer.removeMap(map).ok());
    w.change.restoreBefore();
    QCOMPARE(f.dir.read("Main.Ini"), main);
}

QTEST_GUILESS_MAIN(TestCatalogueWriter)
#include "tst_catalogue_writer.moc"
