// The demo catalogue must describe the demo image truly: every offset inside
// it, every table where the editor and the event builder expect it, and no two
// pieces of data on top of each other.
#include "model/catalogue/catalogue.h"
#include "model/catalogue/map_record.h"
#include "model/rom/rom_image.h"
#include "demo_data.h"
#include "demo_tiles.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace {

constexpr qint64 StartMenuEntries[8] = {0x12C00, 0x12C0B, 0x12C1D, 0x12C29, 0x12C2E, 0x12C42, 0x12C47, 0x12C4C};
constexpr qint64 ShopOffset = 0x16251;

struct Range {
    qint64 start, end;   // [start, end)
    QString what;
};

} // namespace

class TestDemo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void cartridgeHeader();
    void catalogueFiles();
    void mainIndex();
    void mapRecord_data();
    void mapRecord();
    void tileset_data();
    void tileset();
    void events_data();
    void events();
    void eventsStandSensibly_data();
    void eventsStandSensibly();
    void freeRoomAfterLastEvents();
    void encounters_data();
    void encounters();
    void startMenuAndShop();
    void options_data();
    void options();
    void noOverlaps();
    void sameOutputEveryRun();
    void unwritableDirectoryFails();

private:
    QStringList mapNames() const;
    QSet<int> squareTiles(const MapRecord& r, int x, int y) const;
    quint8 at(qint64 offset) const { return quint8(rom.bytes().at(offset)); }
    void addRange(qint64 start, qint64 length, const QString& what) { ranges.append({start, start + length, what}); }

    std::unique_ptr<TestDir> dir;
    std::unique_ptr<Catalogue> catalogue;
    RomImage rom;
    QList<Range> ranges;
};

void TestDemo::initTestCase()
{
    dir = std::make_unique<TestDir>();
    QString error;
    QVERIFY2(writeDemoData(dir->path(), &error), qPrintable(error));
    QVERIFY(error.isEmpty());
    catalogue = std::make_unique<Catalogue>(dir->path());
    QVERIFY(rom.loadFromFile(dir->file(QStringLiteral("demo.gbc")), &error));
}

QStringList TestDemo::mapNames() const
{
    QStringList names;
    for (const QString& category : catalogue->MainIni.sections())
        for (int k = 1; k <= catalogue->MainIni.keys(category).size(); ++k)
            names << catalogue->MainIni.readString(category, QString::number(k));
    return names;
}

void TestDemo::cartridgeHeader()
{
    QCOMPARE(rom.size(), qint64(1024 * 1024));
    QCOMPARE(at(0x100), quint8(0x00));     // entry point: nop; jp 0150
    QCOMPARE(at(0x101), quint8(0xC3));
    QCOMPARE(rom.bytes().mid(0x134, 12), QByteArray("KARTOLA DEMO"));
    QVERIFY(at(0x143) == 0x80 || at(0x143) == 0xC0);
    QVERIFY(at(0x147) >= 0x19 && at(0x147) <= 0x1E);    // MBC5 family
    QCOMPARE(at(0x148), quint8(0x05));                  // 1 MiB
    quint8 x = 0;
    for (int i = 0x134; i <= 0x14C; ++i)
        x = quint8(x - at(i) - 1);
    QCOMPARE(at(0x14D), x);
    quint16 sum = 0;
    for (qint64 i = 0; i < rom.size(); ++i)
        if (i != 0x14E && i != 0x14F)
            sum = quint16(sum + at(i));
    QCOMPARE(quint16(at(0x14E) << 8 | at(0x14F)), sum);
    addRange(0, 0x150, QStringLiteral("header"));
}

void TestDemo::catalogueFiles()
{
    // Windows line ends throughout, so the files look right wherever they are opened.
    for (const char* name : {"Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini", "Options.ini"}) {
        const QByteArray text = dir->read(name);
        QVERIFY2(!text.isEmpty(), name);
        QVERIFY2(text.endsWith("\r\n"), name);
        QCOMPARE(text.count('\n'), text.count("\r\n"));
        QCOMPARE(text.count('\r'), text.count("\r\n"));
    }
    QVERIFY(catalogue->CrittersIni.hasSection(QStringLiteral("Settings")));
    QCOMPARE(catalogue->CrittersIni.readString(QStringLiteral("Settings"), QStringLiteral("Grid")), QStringLiteral("0"));
    const QStringList conditions = catalogue->EventsIni.keys(QStringLiteral("Hidden/shown"));
    QVERIFY(conditions.size() >= 3);
    for (int i = 0; i < conditions.size(); ++i) {
        QCOMPARE(conditions[i], QString::number(i));
        QVERIFY(!catalogue->EventsIni.readString(QStringLiteral("Hidden/shown"), conditions[i]).isEmpty());
    }
}

void TestDemo::mainIndex()
{
    const QStringList categories = catalogue->MainIni.sections();
    QCOMPARE(categories.size(), 3);
    QSet<QString> seen;
    for (const QString& category : categories) {
        const QStringList keys = catalogue->MainIni.keys(category);
        QVERIFY(!keys.isEmpty());
        for (int k = 0; k < keys.size(); ++k) {
            QCOMPARE(keys[k], QString::number(k + 1));   // numbered from 1 without gaps
            const QString name = catalogue->MainIni.readString(category, keys[k]);
            QVERIFY(!name.isEmpty());
            QVERIFY2(!seen.contains(name), qPrintable(name));
            seen.insert(name);
        }
    }
    QVERIFY(seen.size() >= 6);
}

void TestDemo::mapRecord_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : mapNames())
        QTest::newRow(qPrintable(name)) << name;
}

void TestDemo::mapRecord()
{
    QFETCH(QString, name);
    QVERIFY(catalogue->MapsIni.hasSection(name));
    const MapRecord r = readMapRecord(*catalogue, name);
    QCOMPARE(mapRecordProblem(r, rom.size()), QString());
    QVERIFY(r.MapWidth > 0 && r.MapHeight > 0);
    QCOMPARE(r.byteCount(), r.cellCount());
    QVERIFY(!r.comment.isEmpty());
    QVERIFY(r.MapStart >= 0x150);
    // Every cell shows a block of the palette: a byte of 0 or above "Blocks" would draw nothing.
    for (qint64 i = 0; i < r.byteCount(); ++i) {
        const int block = at(r.MapStart + i);
        QVERIFY2(block >= 1 && block <= r.TilesetBlocks, qPrintable(QStringLiteral("cell %1 holds %2").arg(i).arg(block)));
    }
    // A map is a place, not noise: it uses several blocks, one of them much.
    QSet<int> used;
    for (qint64 i = 0; i < r.byteCount(); ++i)
        used.insert(at(r.MapStart + i));
    QVERIFY(used.size() >= 4);
}

void TestDemo::tileset_data()
{
    QTest::addColumn<QString>("section");
    for (const QString& section : catalogue->TilesetsIni.sections())
        QTest::newRow(qPrintable(section)) << section;
}

void TestDemo::tileset()
{
    QFETCH(QString, section);
    const qint32 blocks = catalogue->TilesetsIni.readInteger(section, QStringLiteral("Blocks"));
    const qint32 start = catalogue->TilesetsIni.readInteger(section, QStringLiteral("Start offset"));
    QVERIFY(blocks >= 1 && blocks <= BlockPlaces - 1);
    // The build reads one block more than the palette shows.
    const qint64 length = qint64(BlockSize) * (blocks + 1);
    QVERIFY(rom.contains(start, length));
    for (qint64 i = 0; i < length; ++i)
        QVERIFY(at(start + i) < 96);
    addRange(start, length, QStringLiteral("tileset ") + section);

    const QString file = catalogue->programFile(catalogue->TilesetsIni.readString(section, QStringLiteral("Tiles")));
    QImage picture(file);
    QVERIFY2(!picture.isNull(), qPrintable(file));
    QCOMPARE(picture.size(), QSize(256, 96));
    QFile bmp(file);
    QVERIFY(bmp.open(QIODevice::ReadOnly));
    const QByteArray head = bmp.read(54);
    QCOMPARE(head.left(2), QByteArray("BM"));
    QCOMPARE(quint8(head[28]), quint8(24));    // bits per pixel

    // 96 distinct tiles, none a flat fill.
    QSet<QByteArray> tiles;
    for (int t = 0; t < 96; ++t) {
        const QImage tile = picture.copy((t % 16) * 16, (t / 16) * 16, 16, 16).convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> colours;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                colours.insert(tile.pixel(x, y));
        QVERIFY2(colours.size() >= 2, qPrintable(QStringLiteral("tile %1 is one colour").arg(t)));
        tiles.insert(QByteArray(reinterpret_cast<const char*>(tile.constBits()), int(tile.sizeInBytes())));
    }
    QCOMPARE(tiles.size(), 96);
}

void TestDemo::events_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : mapNames())
        QTest::newRow(qPrintable(name)) << name;
}

void TestDemo::events()
{
    QFETCH(QString, name);
    const IniFile& ini = catalogue->EventsIni;
    QCOMPARE(ini.keys(name), QStringList({"Warps", "Warp offset", "Singposts", "Singpost offset", "Peoples", "People offset"}));
    const int warps = ini.readInteger(name, QStringLiteral("Warps"));
    const int signposts = ini.readInteger(name, QStringLiteral("Singposts"));
    const int people = ini.readInteger(name, QStringLiteral("Peoples"));
    const qint64 warpOffset = ini.readInteger(name, QStringLiteral("Warp offset"));
    const qint64 signpostOffset = ini.readInteger(name, QStringLiteral("Singpost offset"));
    const qint64 peopleOffset = ini.readInteger(name, QStringLiteral("People offset"));
    QVERIFY(warps >= 0 && warps <= 50 && signposts >= 0 && signposts <= 50 && people >= 0 && people <= 50);
    QVERIFY(warps + signposts + people > 0);
    QVERIFY(warpOffset > 0 && signpostOffset > 0 && peopleOffset > 0);

    // The event builder's layout: count, warps, 0, count, signposts, count, people.
    QCOMPARE(signpostOffset, warpOffset + 5 * warps + 2);
    QCOMPARE(peopleOffset, signpostOffset + 5 * signposts + 1);
    const qint64 blockStart = warpOffset - 1, blockEnd = peopleOffset + 13 * people;
    QVERIFY(rom.contains(blockStart, blockEnd - blockStart));
    QCOMPARE(int(at(warpOffset - 1)), warps);
    QCOMPARE(int(at(warpOffset + 5 * warps)), 0);
    QCOMPARE(int(at(signpostOffset - 1)), signposts);
    QCOMPARE(int(at(peopleOffset - 1)), people);
    addRange(blockStart, blockEnd - blockStart, QStringLiteral("events of ") + name);

    const MapRecord r = readMapRecord(*catalogue, name);
    const int squaresX = 2 * r.MapWidth, squaresY = 2 * r.MapHeight;
    for (int i = 0; i < warps; ++i) {
        const qint64 o = warpOffset + 5 * i;
        QVERIFY2(at(o) < squaresY && at(o + 1) < squaresX, qPrintable(QStringLiteral("warp %1").arg(i + 1)));
        QVERIFY(at(o + 2) >= 1);   // a warp leads somewhere
    }
    for (int i = 0; i < signposts; ++i) {
        const qint64 o = signpostOffset + 5 * i;
        QVERIFY2(at(o) < squaresY && at(o + 1) < squaresX, qPrintable(QStringLiteral("signpost %1").arg(i + 1)));
    }
    const int conditions = ini.keys(QStringLiteral("Hidden/shown")).size();
    for (int i = 0; i < people; ++i) {
        const qint64 o = peopleOffset + 13 * i;
        // Stored 4 greater than the square.
        QVERIFY2(at(o + 1) >= 4 && at(o + 1) - 4 < squaresY && at(o + 2) >= 4 && at(o + 2) - 4 < squaresX,
                 qPrintable(QStringLiteral("person %1").arg(i + 1)));
        const quint8 when = at(o + 11), flag = at(o + 12);
        QVERIFY(flag == 255 || flag == 6);
        if (flag == 255)
            QCOMPARE(when, quint8(255));
        else
            QVERIFY(when < conditions);
    }
}

// The four tile numbers of square (x, y): a square is half a block each way.
QSet<int> TestDemo::squareTiles(const MapRecord& r, int x, int y) const
{
    const int block = at(r.MapStart + (y / 2) * r.MapWidth + x / 2);
    const qint64 blockStart = r.TilesetStart + qint64(BlockSize) * (block - 1);
    QSet<int> tiles;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            tiles.insert(at(blockStart + (2 * (y % 2) + row) * 4 + 2 * (x % 2) + column));
    return tiles;
}

void TestDemo::eventsStandSensibly_data()
{
    events_data();
}

void TestDemo::eventsStandSensibly()
{
    QFETCH(QString, name);
    const MapRecord r = readMapRecord(*catalogue, name);
    const IniFile& ini = catalogue->EventsIni;
    using namespace DemoTiles;
    QSet<int> entrances, signs, ground;
    if (r.TilesetNumber == 1) {
        entrances = {Outdoor::DoorBL, Outdoor::DoorBR, Outdoor::CaveMouthBL, Outdoor::CaveMouthBR};
        signs = {Outdoor::Sign, Outdoor::NoticeBoard};
        ground = {Outdoor::Grass, Outdoor::Grass2, Outdoor::Grass3, Outdoor::FlowersRed, Outdoor::FlowersYellow,
                  Outdoor::TallGrass, Outdoor::TallGrass2, Outdoor::Path, Outdoor::Path2, Outdoor::Paving,
                  Outdoor::Paving2, Outdoor::Sand, Outdoor::Sand2};
    } else {
        QCOMPARE(r.TilesetNumber, 2);
        entrances = {Cave::LadderUpTL, Cave::LadderDownTL, Cave::ExitTL};
        signs = {Cave::CaveSign};
        ground = {Cave::Floor, Cave::Floor2, Cave::Floor3, Cave::FloorCrack, Cave::Gravel, Cave::DarkFloor};
        for (int v = 0; v < 8; ++v)
            ground.insert(Cave::FloorVariant0 + v);
    }
    // Warps on doors, cave mouths and ladders.
    const qint64 warps = ini.readInteger(name, QStringLiteral("Warp offset"));
    for (int i = 0; i < ini.readInteger(name, QStringLiteral("Warps")); ++i)
        QVERIFY2(squareTiles(r, at(warps + 5 * i + 1), at(warps + 5 * i)).intersects(entrances),
                 qPrintable(QStringLiteral("warp %1").arg(i + 1)));
    // Signposts on signs; hidden items on open ground.
    const qint64 signposts = ini.readInteger(name, QStringLiteral("Singpost offset"));
    for (int i = 0; i < ini.readInteger(name, QStringLiteral("Singposts")); ++i) {
        const qint64 o = signposts + 5 * i;
        const QSet<int> tiles = squareTiles(r, at(o + 1), at(o));
        if (at(o + 2) == 0)
            QVERIFY2(tiles.intersects(signs), qPrintable(QStringLiteral("signpost %1").arg(i + 1)));
        else
            QVERIFY2(ground.contains(tiles), qPrintable(QStringLiteral("hidden item %1").arg(i + 1)));
    }
    // People stand on paths, grass or cave floor.
    const qint64 people = ini.readInteger(name, QStringLiteral("People offset"));
    for (int i = 0; i < ini.readInteger(name, QStringLiteral("Peoples")); ++i) {
        const qint64 o = people + 13 * i;
        QVERIFY2(ground.contains(squareTiles(r, at(o + 2) - 4, at(o + 1) - 4)),
                 qPrintable(QStringLiteral("person %1").arg(i + 1)));
    }
}

void TestDemo::freeRoomAfterLastEvents()
{
    qint64 lastEnd = 0;
    for (const QString& name : mapNames()) {
        const IniFile& ini = catalogue->EventsIni;
        lastEnd = std::max<qint64>(lastEnd, ini.readInteger(name, QStringLiteral("People offset"))
                                               + 13 * ini.readInteger(name, QStringLiteral("Peoples")));
    }
    QVERIFY(lastEnd > 0);
    // Room for a rebuild with more events: at least 30 more people.
    const qint64 room = 30 * 13;
    QVERIFY(rom.contains(lastEnd, room));
    for (qint64 i = 0; i < room; ++i)
        QCOMPARE(int(at(lastEnd + i)), 0);
    addRange(lastEnd, room, QStringLiteral("free event room"));
}

void TestDemo::encounters_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("name");
    for (const QString& category : catalogue->MainIni.sections())
        for (int k = 1; k <= catalogue->MainIni.keys(category).size(); ++k) {
            const QString name = catalogue->MainIni.readString(category, QString::number(k));
            QTest::newRow(qPrintable(name)) << category << name;
        }
}

void TestDemo::encounters()
{
    QFETCH(QString, category);
    QFETCH(QString, name);
    const qint32 offset = catalogue->CrittersIni.readInteger(name, QStringLiteral("Start offset"));
    if (category == QLatin1String("Towns")) {
        QCOMPARE(offset, 0);
        return;
    }
    QVERIFY(offset > 0);
    QVERIFY(rom.contains(offset, 42));
    for (int slot = 0; slot < 21; ++slot) {
        const int level = at(offset + 2 * slot), number = at(offset + 2 * slot + 1);
        QVERIFY2(level >= 1 && level <= 100, qPrintable(QStringLiteral("slot %1 level %2").arg(slot).arg(level)));
        QVERIFY2(number >= 1 && number <= 251, qPrintable(QStringLiteral("slot %1 number %2").arg(slot).arg(number)));
    }
    addRange(offset, 42, QStringLiteral("wild critters of ") + name);
}

void TestDemo::startMenuAndShop()
{
    int shown = 0;
    for (qint64 offset : StartMenuEntries) {
        const QByteArray entry = rom.bytes().mid(offset, 3);
        QVERIFY(entry == QByteArray("\xCD\x67\x6C", 3) || entry == QByteArray(3, '\0'));
        shown += entry.at(0) == char(0xCD);
        addRange(offset, 3, QStringLiteral("start menu entry"));
    }
    QVERIFY(shown >= 6);
    for (int i = 0; i < 3; ++i)
        QVERIFY(at(ShopOffset + i) != 0);
    addRange(ShopOffset, 3, QStringLiteral("shop code"));
}

void TestDemo::options_data()
{
    QTest::addColumn<QString>("section");
    const QStringList sections = catalogue->OptionsIni.sections();
    QVERIFY(sections.size() >= 5);
    for (const QString& section : sections)
        QTest::newRow(qPrintable(section)) << section;
}

void TestDemo::options()
{
    QFETCH(QString, section);
    const IniFile& ini = catalogue->OptionsIni;
    const qint32 offset = ini.readInteger(section, QStringLiteral("Offset"));
    const qint32 changed = ini.readInteger(section, QStringLiteral("Changed value"), -1);
    const qint32 byDefault = ini.readInteger(section, QStringLiteral("Default value"), -1);
    QVERIFY(offset >= 0x150 && rom.contains(offset, 1));
    QVERIFY(changed >= 0 && changed <= 255 && byDefault >= 0 && byDefault <= 255);
    QVERIFY(changed != byDefault);
    QVERIFY(at(offset) == changed || at(offset) == byDefault);
    addRange(offset, 1, QStringLiteral("option ") + section);
}

void TestDemo::noOverlaps()
{
    // The ranges were gathered by the checks above, which run first; add the maps.
    for (const QString& name : mapNames()) {
        const MapRecord r = readMapRecord(*catalogue, name);
        addRange(r.MapStart, r.byteCount(), QStringLiteral("blocks of ") + name);
    }
    QVERIFY(ranges.size() > 30);
    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
    for (int i = 1; i < ranges.size(); ++i)
        QVERIFY2(ranges[i - 1].end <= ranges[i].start,
                 qPrintable(QStringLiteral("%1 overlaps %2").arg(ranges[i - 1].what, ranges[i].what)));
}

void TestDemo::sameOutputEveryRun()
{
    TestDir second;
    QString error;
    QVERIFY2(writeDemoData(second.path(), &error), qPrintable(error));
    for (const char* name : {"demo.gbc", "Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini",
                             "Options.ini", "tiles/outdoor.bmp", "tiles/cave.bmp"})
        QVERIFY2(second.read(name) == dir->read(name), name);
}

void TestDemo::unwritableDirectoryFails()
{
    // A file where the folder should be: nothing can be written below it.
    TestDir scratch;
    scratch.write(QStringLiteral("blocker"), "not a folder");
    QString error;
    QVERIFY(!writeDemoData(scratch.file(QStringLiteral("blocker/demo")), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(scratch.file(QStringLiteral("blocker/demo/demo.gbc"))));
}

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo.moc"
