// The catalogue and the maps as a script reads and writes them, checked
// against the bytes of the fixture's pattern image (byte i is i mod 251).
#include "script/script_run.h"
#include "support/catalogue_fixture.h"

#include <QtTest>

namespace {

int p(qint64 offset) { return int(offset % 251); }
QString s(qint64 offset) { return QString::number(p(offset)); }

// The fixture's image with some bytes changed.
QByteArray patched(std::initializer_list<std::pair<int, int>> bytes)
{
    QByteArray image = TestDir::patternRom(CatalogueFixture::RomSize);
    for (const auto& [offset, value] : bytes)
        image[offset] = char(value);
    return image;
}

// Alpha Town's events: 2 warps at 0x6000, 1 signpost at 0x6100, 2 people at 0x6200.
constexpr int W = 0x6000, S = 0x6100, P = 0x6200;

} // namespace

class TestScriptMaps : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void runs_data();
    void runs();

private:
    CatalogueFixture fixture;
};

void TestScriptMaps::initTestCase()
{
    TestDir& dir = fixture.dir;
    dir.write("Maps.Ini", dir.read("Maps.Ini")
                              + "[Short]\r\nStart offset=0x4000\r\nEnd offset=0x4009\r\nX size=4\r\nY size=4\r\nTileset=1\r\n"
                                "[Far]\r\nStart offset=0x4100\r\nEnd offset=0x4103\r\nX size=2\r\nY size=2\r\nTileset=1\r\n"
                                "[Odd]\r\nStart offset=0x4200\r\nEnd offset=0x4203\r\nX size=2\r\nY size=2\r\nTileset=25\r\n");
    dir.write("Tilesets.ini", dir.read("Tilesets.ini") + "[4]\r\nBlocks=2\r\nStart offset=0xFFF0\r\n");
    dir.write("Critters.ini", dir.read("Critters.ini") + "[Far]\r\nStart offset=0xFFE0\r\n");
    dir.write("Events.ini", "[Alpha Town]\r\nWarp offset=0x6000\r\nWarps=2\r\nSingpost offset=0x6100\r\nSingposts=1\r\n"
                            "People offset=0x6200\r\nPeoples=2\r\n"
                            "[Far]\r\nWarp offset=0x6000\r\nWarps=1\r\nPeople offset=0xFFF0\r\nPeoples=2\r\n");
}

void TestScriptMaps::runs_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output");     // the log
    QTest::addColumn<QByteArray>("image");   // after the run
    const QByteArray same = patched({});
    const QString a = QStringLiteral("var a = map('Alpha Town');\n");

    QTest::newRow("categories and maps")
        << "log(catalogue.categories(), catalogue.maps('Towns'), catalogue.maps('routes'), catalogue.maps('No'))"
        << R"(["Towns","Routes"] ["Alpha Town","Beta Town","Gamma"] ["Route 1"] [])" << same;
    QTest::newRow("record") << a + "log(a.name, a.width, a.height, a.tileset, map('Beta Town').tileset)"
                            << "Alpha Town 10 9 1 2" << same;
    QTest::newRow("record offsets")
        << a + "log(a.start, a.end, a.tilesetStart, a.tilesetBlocks, a.wildOffset, map('Route 1').wildOffset, a.comment);"
               " log(JSON.stringify(a.eventTables))"
        << "4096 4185 32768 10 0 20480 A quiet town\n"
           R"({"warps":{"offset":24576,"count":2},"signposts":{"offset":24832,"count":1},"people":{"offset":25088,"count":2}})"
        << same;
    QTest::newRow("blocks") << a + "log(a.block(0, 0), a.block(9, 8), a.block(3, 2), map('Short').block(1, 2))"
                            << QStringList{s(0x1000), s(0x1000 + 89), s(0x1000 + 23), s(0x4009)}.join(' ') << same;
    QTest::newRow("setBlock seen by later reads")
        << a + "a.setBlock(3, 2, 7); log(a.block(3, 2), rom.byte(0x1017), map('Alpha Town').block(3, 2))"
        << "7 7 7" << patched({{0x1017, 7}});
    QTest::newRow("rom writes seen by the map")
        << a + "a.block(0, 0); a.warps; rom.setBytes(0x1000, [99]); rom.setByte(0x6005, 1);"
               " log(a.block(0, 0), a.warps[1].y)"
        << "99 1" << patched({{0x1000, 99}, {0x6005, 1}});
    QTest::newRow("a single byte written seen by the map")
        << a + "a.block(0, 0); rom.setByte(0x1000, 98); log(a.block(0, 0))" << "98" << patched({{0x1000, 98}});
    QTest::newRow("encounter") << "var r = map('Route 1'); log(JSON.stringify(r.encounter('day', 2)), r.encounter('night', 6).number)"
                               << QStringLiteral(R"({"level":%1,"number":%2} %3)").arg(s(0x5012), s(0x5013), s(0x5029))
                               << same;
    QTest::newRow("setEncounter") << "var r = map('Route 1'); r.setEncounter('night', 6, 1, 255);"
                                     " r.setEncounter('morning', 0, 100, 3); log(r.encounter('night', 6).level)"
                                  << "1" << patched({{0x5028, 1}, {0x5029, 255}, {0x5000, 100}, {0x5001, 3}});
    QTest::newRow("warps") << a + "log(a.warps.length, JSON.stringify(a.warps[1]))"
                           << QStringLiteral(R"(2 {"x":%1,"y":%2,"warpTo":%3,"map":%4,"mapBank":%5})")
                                  .arg(s(W + 6), s(W + 5), s(W + 7), s(W + 9), s(W + 8))
                           << same;
    QTest::newRow("signposts") << a + "log(JSON.stringify(a.signposts))"
                               << QStringLiteral(R"([{"x":%1,"y":%2,"textBlock":%3,"textBank":%4,"hiddenItem":%5}])")
                                      .arg(s(S + 1), s(S), s(S + 3), s(S + 4), s(S + 2))
                               << same;
    const int q = P + 13;   // person 2
    QTest::newRow("people")
        << a + "log(a.people.length, JSON.stringify(a.people[1]))"
        << QStringLiteral(R"(2 {"x":%1,"y":%2,"pictureNumber":%3,"facing":%4,"movement":%5,"function":%6,)"
                          R"("textBlock":%7,"textBank":%8,"hidden":%9,"when":%10,"unknown1":%11,"unknown2":%12,"unknown3":%13})")
               .arg((p(q + 2) + 252) % 256).arg((p(q + 1) + 252) % 256).arg(p(q)).arg(p(q + 3)).arg(p(q + 4)).arg(p(q + 7))
               .arg(p(q + 9)).arg(p(q + 10)).arg(p(q + 12)).arg(p(q + 11)).arg(p(q + 5)).arg(p(q + 6)).arg(p(q + 8))
        << same;
    QTest::newRow("event writes")
        << a + "a.setWarp(2, {x: 5, map: 9}); a.setSignpost(1, {hiddenItem: 7});"
               " a.setPerson(2, {x: 3, y: 252, hidden: 6, when: 1, unknown3: 0});"
               " log(a.warps[1].x, a.people[1].y, a.signposts[0].hiddenItem)"
        << "5 252 7"
        << patched({{W + 6, 5}, {W + 9, 9}, {S + 2, 7}, {q + 2, 7}, {q + 1, 0}, {q + 12, 6}, {q + 11, 1}, {q + 8, 0}});
    QStringList block1;   // tileset 1, block 1
    for (int i = 0; i < 16; ++i)
        block1 << s(0x8010 + i);
    QTest::newRow("tileset blocks") << "var t = tileset(1); log(t.number, t.blockCount, t.tiles(1), tileset(2).tiles(3)[15])"
                                    << QStringLiteral("1 10 [%1] %2").arg(block1.join(','), s(0x9030 + 15)) << same;
    QTest::newRow("setTiles seen by later reads")
        << "var t = tileset(2); t.setTiles(3, [9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 255, 254, 253, 252, 251, 250]);"
           " log(t.tiles(3)[10], rom.byte(0x9030), tileset(2).tiles(3)[15])"
        << "255 9 250"
        << patched({{0x9030, 9}, {0x9031, 8}, {0x9032, 7}, {0x9033, 6}, {0x9034, 5}, {0x9035, 4}, {0x9036, 3},
                    {0x9037, 2}, {0x9038, 1}, {0x9039, 0}, {0x903A, 255}, {0x903B, 254}, {0x903C, 253},
                    {0x903D, 252}, {0x903E, 251}, {0x903F, 250}});

    // Refusals: each throws, names what it refused, and writes nothing.
    auto refused = [&](const char* name, const QString& code, const QString& message) {
        QTest::newRow(name) << QStringLiteral("try { %1 } catch (e) { log(e.message) }").arg(code) << message << same;
    };
    refused("past the map's side", a + "a.setBlock(10, 0, 1)", "x 10 is not a whole number from 0 to 9");
    refused("past the map's bottom", a + "a.block(0, -1)", "y -1 is not a whole number from 0 to 8");
    refused("past the map's bytes", "map('Short').setBlock(2, 2, 1)",
            "block (2, 2) of map \"Short\" lies past its 10 bytes");
    refused("a block of 256", a + "a.setBlock(0, 0, 256)", "block 256 is not a whole number from 0 to 255");
    refused("a level of 300", "map('Route 1').setEncounter('day', 0, 300, 1)",
            "level 300 is not a whole number from 1 to 255");
    refused("a number of 0", "map('Route 1').setEncounter('day', 0, 5, 0)",
            "number 0 is not a whole number from 1 to 255");
    refused("slot 7", "map('Route 1').setEncounter('day', 7, 5, 5)", "slot 7 is not a whole number from 0 to 6");
    refused("no such time", "map('Route 1').encounter('noon', 0)",
            "time noon is not \"morning\", \"day\" or \"night\"");
    refused("no wild table", a + "a.encounter('day', 0)", "map \"Alpha Town\" has no wild table");
    refused("a wild table outside the image", "map('Far').setEncounter('day', 0, 5, 5)",
            "The wild Critter table of map \"Far\" at FFE0 lies outside the ROM image.");
    refused("an event table outside the image", "map('Far').warps",
            "Events of map \"Far\" cannot be shown: the people table at FFF0 lies outside the ROM image.");
    refused("warp 3 of 2", a + "a.setWarp(3, {x: 1})", "warp 3 is not a whole number from 1 to 2");
    refused("person 0", a + "a.setPerson(0, {x: 1})", "person 0 is not a whole number from 1 to 2");
    refused("a field of 256", a + "a.setPerson(1, {x: 1, when: 256})", "person when 256 is not a whole number from 0 to 255");
    refused("no such field", a + "a.setSignpost(1, {textBlock: 1, colour: 2})", "a signpost has no field colour");
    refused("a block past the tileset's", "tileset(1).tiles(10)", "block 10 is not a whole number from 0 to 9");
    refused("a block of 15 tiles", "tileset(1).setTiles(0, [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15])",
            "setTiles takes an array of 16 tile numbers, row by row");
    refused("a tile of 256, all or nothing",
            "tileset(1).setTiles(0, [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 256])",
            "tile 256 is not a whole number from 0 to 255");
    refused("tileset 21", "tileset(21)", "tileset 21 is not a whole number from 1 to 20");
    refused("a tileset without blocks", "tileset(3).tiles(0)", "tileset 3 has no blocks");
    refused("a tileset outside the image", "tileset(4)", "the blocks of tileset 4 lie outside the ROM image");
    refused("an unknown map", "map('Nowhere')", "there is no map \"Nowhere\"");
    refused("a listed map without a section", "map('Gamma')", "Map \"Gamma\" has no section in Maps.Ini.");
    refused("a refused map", "map('Odd')", "Map \"Odd\" cannot be shown: tileset 25 is not from 1 to 20.");
}

void TestScriptMaps::runs()
{
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(QByteArray, image);
    QStringList lines;
    const ScriptResult result = runScript({QStringLiteral("s.js"), source, {}, TestDir::patternRom(CatalogueFixture::RomSize),
                                           fixture.dir.path()},
                                          [&](const QString& line) { lines << line; });
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(lines.join(QLatin1Char('\n')), output);
    QCOMPARE(result.image, image);
}

QTEST_GUILESS_MAIN(TestScriptMaps)
#include "tst_script_maps.moc"
