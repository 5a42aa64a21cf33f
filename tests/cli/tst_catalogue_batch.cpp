// `--new-map` and `--tiles-from-rom`: their options, what they write into an
// empty catalogue, and that `--check` then finds nothing wrong.
#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "model/rom/cartridge_header.h"
#include "support/catalogue_fixture.h"

#include <QImage>
#include <QTextStream>
#include <QtTest>

class TestCatalogueBatch : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void catalogueFromNothing();
};

using A = CommandLine::Action;
using Numbers = QList<qint64>; // start, width, height, tileset, palette (-1: none)

void TestCatalogueBatch::parses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<Numbers>("numbers");
    QTest::addColumn<QString>("error");
    const QStringList map{"a.gbc", "--new-map", "Cave", "--category", "Caves", "--width", "10", "--height", "0x10"};
    QTest::newRow("new map, three number forms") << map + QStringList{"--start", "$4000", "--tileset", "2"}
                                                 << int(A::NewMap) << Numbers{0x4000, 10, 16, 2, -1} << QString();
    QTest::newRow("tiles") << QStringList{"a.gbc", "--tiles-from-rom", "3", "0x100"} << int(A::TilesFromRom)
                           << Numbers{0x100, 0, 0, 3, -1} << QString();
    QTest::newRow("tiles with palette") << QStringList{"--tiles-from-rom=3", "$100", "--palette", "512", "a.gbc"}
                                        << int(A::TilesFromRom) << Numbers{0x100, 0, 0, 3, 512} << QString();
    QTest::newRow("new map without tileset") << map + QStringList{"--start", "1"} << int(A::UsageError) << Numbers{} << QString("--new-map needs --tileset.");
    QTest::newRow("start in words") << map + QStringList{"--start", "ten", "--tileset", "1"} << int(A::UsageError)
                                    << Numbers{} << QString("--start takes a number (decimal, $1A2B or 0x1A2B), not \"ten\".");
    QTest::newRow("size without new map") << QStringList{"a.gbc", "--check", "--width", "3"} << int(A::UsageError)
                                          << Numbers{} << QString("--width belongs to --new-map.");
    QTest::newRow("tiles without offset") << QStringList{"a.gbc", "--tiles-from-rom", "3"} << int(A::UsageError)
                                          << Numbers{} << QString("--tiles-from-rom needs TILESET and OFFSET.");
    QTest::newRow("palette without tiles") << QStringList{"a.gbc", "--check", "--palette", "0"} << int(A::UsageError)
                                           << Numbers{} << QString("--palette belongs to --tiles-from-rom.");
}

void TestCatalogueBatch::parses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(Numbers, numbers);
    QFETCH(QString, error);
    const CommandLine line = parseCommandLine(QStringList{"kartola"} + arguments);
    QCOMPARE(int(line.action), action);
    QCOMPARE(line.error, error);
    if (numbers.isEmpty())
        return;
    QCOMPARE(line.rom, QString("a.gbc"));
    QCOMPARE((Numbers{line.start, line.width, line.height, line.tileset, line.palette.value_or(-1)}), numbers);
    if (line.action == A::NewMap)
        QCOMPARE(line.map + "/" + line.category, QString("Cave/Caves"));
}

namespace {

int run(const CatalogueFixture& f, const QStringList& options, QString* out = nullptr, QString* err = nullptr)
{
    const CommandLine line = parseCommandLine(QStringList{"kartola", "--catalogue", f.dir.path(), f.dir.file("rom.gbc")} + options);
    QString o, e;
    QTextStream outStream(&o), errStream(&e);
    const int status = runBatch(line, QString(), outStream, errStream);
    if (out)
        *out = o;
    if (err)
        *err = e;
    return status;
}

} // namespace

void TestCatalogueBatch::catalogueFromNothing()
{
    CatalogueFixture f;
    for (const char* file : {"Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini"})
        f.dir.write(file, "");
    // Room for the start menu and marts bytes the check looks at, and a sound header.
    QByteArray rom = TestDir::patternRom(0x100000);
    QVERIFY(CartridgeHeader::setChecksums(rom));
    f.dir.write("rom.gbc", rom);
    QString out, err;
    QCOMPARE(run(f, {"--tiles-from-rom", "1", "0x200", "--palette", "0x20"}, &out, &err), 0);
    QCOMPARE(out, QString("Wrote the tile picture tiles/Tileset 1.bmp of tileset 1.\n"));
    QCOMPARE(f.dir.read("Tilesets.ini"), QByteArray("[1]\r\nBlocks=0\r\nStart offset=0\r\nTiles=tiles/Tileset 1.bmp\r\n"));
    QCOMPARE(QImage(f.dir.file("tiles/Tileset 1.bmp")).size(), QSize(256, 96));

    const QStringList cave{"--new-map", "Cave", "--category", "Caves", "--start", "0x4000", "--width", "3",
                           "--height", "2", "--tileset", "1"};
    QCOMPARE(run(f, cave, &out), 0);
    QCOMPARE(f.dir.read("Main.Ini"), QByteArray("[Caves]\r\n1=Cave\r\n"));
    const int checked = run(f, {"--check"}, &out, &err);
    QVERIFY2(out.contains("Checked 1 maps (0 with problems)"), qPrintable(out + err));
    QVERIFY2(checked == 0, qPrintable(out + err));

    // Refused: the name is taken, the map would run past the image; nothing is written.
    const QByteArray maps = f.dir.read("Maps.Ini");
    QCOMPARE(run(f, cave, nullptr, &err), 1);
    QCOMPARE(err, QString("A map named \"Cave\" is already in the catalogue.\n"));
    QStringList past = cave;
    past[1] = "Far";
    past[5] = QString::number(rom.size() - 5);
    QCOMPARE(run(f, past, nullptr, &err), 1);
    QVERIFY2(err.contains("runs past the end of the ROM image"), qPrintable(err));
    QCOMPARE(run(f, {"--tiles-from-rom", "1", QString::number(rom.size() - 16)}, nullptr, &err), 1);
    QCOMPARE(f.dir.read("Maps.Ini"), maps);
    QCOMPARE(f.dir.read("Main.Ini"), QByteArray("[Caves]\r\n1=Cave\r\n"));
}

QTEST_GUILESS_MAIN(TestCatalogueBatch)
#include "tst_catalogue_batch.moc"
