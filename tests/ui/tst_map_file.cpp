#include "session/editor_state.h"
#include "session/map_file.h"
#include "session/editor_session.h"
#include "ui/main/map_file_commands.h"
#include "model/map/map_renderer.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

// The working copies a map file carries, with the map record that sizes them.
struct Working {
    MapRecord map;
    MapState blocks;
    EventState events;
    EncounterTables encounters;
};

template <typename T, size_t N>
bool sameBytes(const std::array<T, N>& a, const std::array<T, N>& b)
{
    return std::memcmp(a.data(), b.data(), sizeof(T) * N) == 0;
}

// Fills every byte of every store (also those past the map's sizes and
// counts) with values that depend on `seed`.
void fill(MapState& blocks, EventState& events, EncounterTables& encounters, int seed)
{
    for (size_t i = 0; i < blocks.MapBytes.size(); ++i)
        blocks.MapBytes[i] = quint8(i * 7 + seed * 31);
    auto fillTable = [seed](auto& table, int salt) {
        auto* bytes = reinterpret_cast<quint8*>(table.data());
        for (size_t i = 0; i < sizeof(table); ++i)
            bytes[i] = quint8(i * 3 + seed * 17 + salt);
    };
    fillTable(events.WarpTable, 1);
    fillTable(events.SingpostTable, 2);
    fillTable(events.PeopleTable, 3);
    for (int t = 0; t < TimesOfDay; ++t)
        for (int s = 0; s < SlotsPerTime; ++s) {
            encounters.times[size_t(t)][size_t(s)].level = seed * 1000 + t * 10 + s;
            encounters.times[size_t(t)][size_t(s)].number = -(seed * 70000 + t * 100 + s);
        }
}

void setSizes(MapRecord& map, EventState& events, int width, int height, int warps, int singposts, int people)
{
    map.name = QStringLiteral("Route 1");
    map.MapStart = 0x4000;
    map.MapWidth = width;
    map.MapHeight = height;
    map.MapEnd = map.MapStart + width * height - 1;
    events.WarpCount = warps;
    events.SingpostCount = singposts;
    events.PeopleCount = people;
}

std::unique_ptr<Working> working(int seed, int width = 10, int height = 9, int warps = 3,
                                 int singposts = 2, int people = 4)
{
    auto w = std::make_unique<Working>();
    setSizes(w->map, w->events, width, height, warps, singposts, people);
    fill(w->blocks, w->events, w->encounters, seed);
    return w;
}

QByteArray build(const Working& w)
{
    return buildMapFile(w.map, w.blocks, w.events, w.encounters);
}

QByteArray recordBytes(const void* record, size_t size)
{
    return QByteArray(static_cast<const char*>(record), qsizetype(size));
}

struct Snapshot {
    MapState blocks;
    EventState events;
    EncounterTables encounters;
};

bool same(const Snapshot& s, const EditorState& state)
{
    return sameBytes(s.blocks.MapBytes, state.map.MapBytes)
        && sameBytes(s.events.WarpTable, state.events.WarpTable)
        && sameBytes(s.events.SingpostTable, state.events.SingpostTable)
        && sameBytes(s.events.PeopleTable, state.events.PeopleTable)
        && s.events.WarpCount == state.events.WarpCount
        && s.events.SingpostCount == state.events.SingpostCount
        && s.events.PeopleCount == state.events.PeopleCount
        && s.encounters == state.encounters;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 5 + y) & 0xFF, (y * 11) & 0xFF, (x + 3 * y) & 0xFF));
    return image;
}

// A map of `columns` x `rows` blocks of tileset 1 in `state`, every block a
// different patterned picture, and the picture the map view shows of it.
QImage showMap(EditorState& state, int columns, int rows)
{
    state.core.map.MapWidth = columns;
    state.core.map.MapHeight = rows;
    state.core.map.TilesetNumber = 1;
    state.map.hasMap = true;
    state.map.loadedBytes = state.map.loadedCells = columns * rows;
    for (int i = 0; i < columns * rows; ++i) {
        state.map.MapBytes[size_t(i)] = quint8(1 + i % 100);
        state.pictures.setPicture(1, i % 100, patterned(64, 64 + i % 100).copy(0, i % 100, 64, 64));
    }
    return MapRenderer(state.core.map, state.map, state.pictures).picture();
}

} // namespace

class TestMapFile : public QObject {
    Q_OBJECT
private slots:
    // The file's content.
    void fileSize_data();
    void fileSize();
    void sectionsInOrder();
    void roundTrip();
    void shortAndLongFiles_data();
    void shortAndLongFiles();
    void fileEndingInsideSignposts();
    void sizesBoundToStores();

    // The commands.
    void huhBeforeAnyMap_data();
    void huhBeforeAnyMap();
    void saveThenLoadRestoresWorkingCopies();
    void saveReplacesOldFile();
    void cancelledDialogsChangeNothing();
    void uncreatableMapFile();
    void unopenableMapFile();
    void openDialogRemembersLastFile();
    void pictures_data();
    void pictures();
    void uncreatablePicture();
};

void TestMapFile::fileSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("warps");
    QTest::addColumn<int>("singposts");
    QTest::addColumn<int>("people");
    QTest::addColumn<int>("bytes");
    QTest::newRow("10 x 9, 3 warps, 2 signposts, 4 people") << 10 << 9 << 3 << 2 << 4 << 335;
    QTest::newRow("no blocks, no events") << 0 << 0 << 0 << 0 << 0 << 168;
    QTest::newRow("largest map, full tables") << 100 << 100 << 255 << 255 << 255 << 10000 + 255 * 23 + 168;
    QTest::newRow("past the stores") << 200 << 100 << 300 << -1 << 1000 << 10000 + 255 * 5 + 255 * 13 + 168;
    QTest::newRow("both sizes negative") << -10 << -9 << 1 << 0 << 0 << 5 + 168;
}

void TestMapFile::fileSize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, warps);
    QFETCH(int, singposts);
    QFETCH(int, people);
    QFETCH(int, bytes);
    auto w = working(1, width, height, warps, singposts, people);
    QCOMPARE(build(*w).size(), qsizetype(bytes));
    QCOMPARE(MapFileLayout::of(w->map, w->events).totalBytes(), qint64(bytes));
}

void TestMapFile::sectionsInOrder()
{
    auto w = working(1);
    // A person the ROM holds at 9 and 10 is at square 5, 6 in the working copy.
    w->events.PeopleTable[3].Y = 5;
    w->events.PeopleTable[3].X = 6;
    w->encounters.day()[2] = {12, 161};
    w->encounters.night()[6] = {-2, 300};

    const QByteArray file = build(*w);
    QCOMPARE(file.size(), 335);
    QCOMPARE(file.left(90), recordBytes(w->blocks.MapBytes.data(), 90));
    // Warps 1 to 3 from offset 90 (record 0 is not part of the table).
    QCOMPARE(file.mid(90, 5), recordBytes(&w->events.WarpTable[1], 5));
    QCOMPARE(file.mid(100, 5), recordBytes(&w->events.WarpTable[3], 5));
    QCOMPARE(file.mid(105, 5), recordBytes(&w->events.SingpostTable[1], 5));
    QCOMPARE(file.mid(110, 5), recordBytes(&w->events.SingpostTable[2], 5));
    QCOMPARE(file.mid(115, 13), recordBytes(&w->events.PeopleTable[1], 13));
    const int person3 = 115 + 26;
    QCOMPARE(file.mid(person3, 13), recordBytes(&w->events.PeopleTable[3], 13));
    QCOMPARE(quint8(file[person3 + 1]), quint8(5));
    QCOMPARE(quint8(file[person3 + 2]), quint8(6));
    QCOMPARE(file.mid(115 + 39, 13), recordBytes(&w->events.PeopleTable[4], 13));

    const int morning = 167, day = morning + 56, night = day + 56;
    QCOMPARE(file.mid(day + 2 * 8, 8).toHex(' '), QByteArray("0c 00 00 00 a1 00 00 00"));
    QCOMPARE(file.mid(night + 6 * 8, 8).toHex(' '), QByteArray("fe ff ff ff 2c 01 00 00"));
    // The first morning slot: level then number, little-endian.
    const EncounterSlot first = w->encounters.morning()[0];
    QByteArray expected(8, '\0');
    qToLittleEndian<qint32>(first.level, expected.data());
    qToLittleEndian<qint32>(first.number, expected.data() + 4);
    QCOMPARE(file.mid(morning, 8), expected);
}

void TestMapFile::roundTrip()
{
    auto saved = working(1);
    const QByteArray file = build(*saved);
    auto loaded = working(2);
    readMapFile(file, loaded->map, loaded->blocks, loaded->events, loaded->encounters);

    QCOMPARE(build(*loaded), file);
    QVERIFY(std::equal(saved->blocks.MapBytes.begin(), saved->blocks.MapBytes.begin() + 90,
                       loaded->blocks.MapBytes.begin()));
    QCOMPARE(loaded->encounters, saved->encounters);
    // What lies outside the map's sizes and counts is not touched.
    auto untouched = working(2);
    QCOMPARE(loaded->blocks.MapBytes[90], untouched->blocks.MapBytes[90]);
    QCOMPARE(recordBytes(&loaded->events.WarpTable[0], 5), recordBytes(&untouched->events.WarpTable[0], 5));
    QCOMPARE(recordBytes(&loaded->events.WarpTable[4], 5), recordBytes(&untouched->events.WarpTable[4], 5));
    QCOMPARE(recordBytes(&loaded->events.SingpostTable[3], 5), recordBytes(&untouched->events.SingpostTable[3], 5));
    QCOMPARE(recordBytes(&loaded->events.PeopleTable[5], 13), recordBytes(&untouched->events.PeopleTable[5], 13));
}

void TestMapFile::shortAndLongFiles_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << 0;
    QTest::newRow("inside the blocks") << 45;
    QTest::newRow("end of the blocks") << 90;
    QTest::newRow("inside a warp") << 97;
    QTest::newRow("inside a signpost") << 112;
    QTest::newRow("inside a person") << 130;
    QTest::newRow("end of the people") << 167;
    QTest::newRow("inside a morning level") << 169;
    QTest::newRow("inside a day number") << 167 + 56 + 8 * 3 + 6;
    QTest::newRow("inside the last night number") << 332;
    QTest::newRow("whole file") << 335;
    QTest::newRow("longer file") << 400;
}

void TestMapFile::shortAndLongFiles()
{
    QFETCH(int, length);
    auto newer = working(1);
    auto older = working(2);
    const QByteArray full = build(*newer);
    const QByteArray content = length <= full.size()
        ? full.left(length) : full + QByteArray(length - full.size(), '\x5A');

    auto result = working(2);
    readMapFile(content, result->map, result->blocks, result->events, result->encounters);

    // The sections hold the file's bytes as far as it reaches and their old
    // bytes after that.
    const int reached = std::min<int>(length, int(full.size()));
    QCOMPARE(build(*result).toHex(' '), (full.left(reached) + build(*older).mid(reached)).toHex(' '));
    // Nothing outside the sections changes.
    QVERIFY(std::equal(result->blocks.MapBytes.begin() + 90, result->blocks.MapBytes.end(),
                       older->blocks.MapBytes.begin() + 90));
    QCOMPARE(result->events.WarpCount, 3);
    QCOMPARE(result->events.SingpostCount, 2);
    QCOMPARE(result->events.PeopleCount, 4);
}

void TestMapFile::fileEndingInsideSignposts()
{
    auto newer = working(1);
    auto older = working(2);
    const QByteArray content = build(*newer).left(90 + 15 + 5 + 2);   // 2 bytes into signpost 2

    auto result = working(2);
    readMapFile(content, result->map, result->blocks, result->events, result->encounters);

    QVERIFY(std::equal(result->blocks.MapBytes.begin(), result->blocks.MapBytes.begin() + 90,
                       newer->blocks.MapBytes.begin()));
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(recordBytes(&result->events.WarpTable[i], 5), recordBytes(&newer->events.WarpTable[i], 5));
    QCOMPARE(recordBytes(&result->events.SingpostTable[1], 5), recordBytes(&newer->events.SingpostTable[1], 5));
    const TSingpostRecord& cut = result->events.SingpostTable[2];
    QCOMPARE(cut.Y, newer->events.SingpostTable[2].Y);
    QCOMPARE(cut.X, newer->events.SingpostTable[2].X);
    QCOMPARE(cut.HiddenItem, older->events.SingpostTable[2].HiddenItem);
    QCOMPARE(cut.TextBlock, older->events.SingpostTable[2].TextBlock);
    QCOMPARE(cut.TextBank, older->events.SingpostTable[2].TextBank);
    QVERIFY(cut.Y != older->events.SingpostTable[2].Y);   // the fill tells them apart
    QVERIFY(sameBytes(result->events.PeopleTable, older->events.PeopleTable));
    QCOMPARE(result->encounters, older->encounters);
}

void TestMapFile::sizesBoundToStores()
{
    // A record larger than the stores: the file is read with the stores'
    // sizes and nothing is written past them.
    auto w = working(2, 200, 100, 1000, 1000, 1000);
    auto before = working(2, 200, 100, 1000, 1000, 1000);
    QByteArray content(40000, '\0');
    for (qsizetype i = 0; i < content.size(); ++i)
        content[i] = char(0x80 | (i % 101));

    readMapFile(content, w->map, w->blocks, w->events, w->encounters);

    QCOMPARE(build(*w), content.left(10000 + 255 * 23 + 168));
    QCOMPARE(recordBytes(&w->events.WarpTable[0], 5), recordBytes(&before->events.WarpTable[0], 5));
    QCOMPARE(recordBytes(&w->events.SingpostTable[0], 5), recordBytes(&before->events.SingpostTable[0], 5));
    QCOMPARE(recordBytes(&w->events.PeopleTable[0], 13), recordBytes(&before->events.PeopleTable[0], 13));
    QCOMPARE(w->events.WarpCount, 1000);

    // Negative counts read nothing.
    auto none = working(2, 0, 5, -3, -3, -3);
    readMapFile(content, none->map, none->blocks, none->events, none->encounters);
    auto noneBefore = working(2);
    QVERIFY(sameBytes(none->blocks.MapBytes, noneBefore->blocks.MapBytes));
    QVERIFY(sameBytes(none->events.WarpTable, noneBefore->events.WarpTable));
    QCOMPARE(build(*none), content.left(168));
}

void TestMapFile::huhBeforeAnyMap_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("mapStart");
    QTest::newRow("Save Map, no map") << true << 0;
    QTest::newRow("Load Map, no map") << false << 0;
    QTest::newRow("Save Map, negative start") << true << -1;
    QTest::newRow("Load Map, negative start") << false << -1;
}

void TestMapFile::huhBeforeAnyMap()
{
    QFETCH(bool, save);
    QFETCH(int, mapStart);
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    setSizes(state->core.map, state->events, 10, 9, 3, 2, 4);
    state->core.map.MapStart = mapStart;
    ScriptedPrompts prompts;
    int redraws = 0;
    EditorSession session(*state, prompts);
    QObject::connect(&session, &EditorSession::mapPictureChanged, [&] { ++redraws; });
    MapFileCommands commands(session);
    const QString path = dir.file("a.map");
    dir.write("a.map", QByteArray(335, '\x11'));
    prompts.chooseFile(path);

    if (save)
        commands.SaveMap1Click();
    else
        commands.LoadMap1Click();

    QCOMPARE(prompts.shown.size(), size_t(1));
    QCOMPARE(prompts.shown[0].text, QStringLiteral("Huh?"));
    QVERIFY(prompts.shown[0].kind == Prompts::Kind::Plain);
    QVERIFY(prompts.fileRequests.empty());
    QCOMPARE(redraws, 0);
    QCOMPARE(dir.read("a.map"), QByteArray(335, '\x11'));
    QCOMPARE(state->map.MapBytes[0], quint8(0));
}

void TestMapFile::saveThenLoadRestoresWorkingCopies()
{
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    setSizes(state->core.map, state->events, 10, 9, 3, 2, 4);
    fill(state->map, state->events, state->encounters, 1);
    ScriptedPrompts prompts;
    int redraws = 0;
    EditorSession session(*state, prompts);
    QObject::connect(&session, &EditorSession::mapPictureChanged, [&] { ++redraws; });
    MapFileCommands commands(session);
    auto saved = std::make_unique<Snapshot>(Snapshot{state->map, state->events, state->encounters});

    const QString path = dir.file("route.map");
    prompts.chooseFile(path);
    commands.SaveMap1Click();
    QCOMPARE(prompts.fileRequests.size(), size_t(1));
    const Prompts::FileRequest& request = prompts.fileRequests[0];
    QCOMPARE(request.filter, QStringLiteral("Maps (*.map)|*.map|All Files (*.*)|*.*"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("map"));
    QCOMPARE(request.initialName, QStringLiteral("Route 1.map"));
    QVERIFY(prompts.shown.empty());
    QCOMPARE(readFile(path).size(), 335);
    QVERIFY(same(*saved, *state));

    // Paint over everything the file holds.
    fill(state->map, state->events, state->encounters, 5);
    QVERIFY(!same(*saved, *state));

    prompts.chooseFile(path);
    commands.LoadMap1Click();
    QCOMPARE(prompts.fileRequests.size(), size_t(2));
    QCOMPARE(prompts.fileRequests[1].filter, QStringLiteral("Maps (*.map)|*.map|All Files (*.*)|*.*"));
    QCOMPARE(prompts.fileRequests[1].defaultSuffix, QStringLiteral("map"));
    QVERIFY(prompts.shown.empty());
    QCOMPARE(redraws, 1);
    // Within the map's sizes and counts all is as saved.
    QCOMPARE(buildMapFile(state->core.map, state->map, state->events, state->encounters),
             readFile(path));
    QVERIFY(std::equal(saved->blocks.MapBytes.begin(), saved->blocks.MapBytes.begin() + 90,
                       state->map.MapBytes.begin()));
    QCOMPARE(state->encounters, saved->encounters);
}

void TestMapFile::saveReplacesOldFile()
{
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    setSizes(state->core.map, state->events, 10, 9, 3, 2, 4);
    fill(state->map, state->events, state->encounters, 3);
    ScriptedPrompts prompts;
    EditorSession session(*state, prompts);
    MapFileCommands commands(session);
    dir.write("old.map", QByteArray(5000, 'x'));

    prompts.chooseFile(dir.file("old.map"));
    commands.SaveMap1Click();
    QVERIFY(prompts.shown.empty());
    QCOMPARE(dir.read("old.map"),
             buildMapFile(state->core.map, state->map, state->events, state->encounters));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.map"});
}

void TestMapFile::cancelledDialogsChangeNothing()
{
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    setSizes(state->core.map, state->events, 10, 9, 3, 2, 4);
    fill(state->map, state->events, state->encounters, 3);
    ScriptedPrompts prompts;
    int redraws = 0;
    EditorSession session(*state, prompts);
    QObject::connect(&session, &EditorSession::mapPictureChanged, [&] { ++redraws; });
    MapFileCommands commands(session);
    auto before = std::make_unique<Snapshot>(Snapshot{state->map, state->events, state->encounters});

    prompts.chooseFile(std::nullopt);
    commands.SaveMap1Click();
    prompts.chooseFile(std::nullopt);
    commands.LoadMap1Click();
    prompts.chooseFile(std::nullopt);
    commands.SaveMapPicture1Click(false);
    commands.finishRunning();
    prompts.chooseFile(std::nullopt);
    commands.SaveTilesetPicture1Click(patterned(64, 128));

    QCOMPARE(prompts.fileRequests.size(), size_t(4));
    QVERIFY(prompts.shown.empty());
    QCOMPARE(redraws, 0);
    QVERIFY(same(*before, *state));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TestMapFile::uncreatableMapFile()
{
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    setSizes(state->core.map, state->events, 10, 9, 3, 2, 4);
    ScriptedPrompts prompts;
    EditorSession session(*state, prompts);
    MapFileCommands commands(session);
    const QString path = dir.file("no such folder/route.map");

    prompts.chooseFile(path);
    commands.SaveMap1Click();
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("Cannot create file %1").arg(path)});
    QVERIFY(prompts.shown[0].kind == Prompts::Kind::Error);
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

void TestMapFile::unopenableMapFile()
{
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    setSizes(state->core.map, state->events, 10, 9, 3, 2, 4);
    fill(state->map, state->events, state->encounters, 3);
    ScriptedPrompts prompts;
    int redraws = 0;
    EditorSession session(*state, prompts);
    QObject::connect(&session, &EditorSession::mapPictureChanged, [&] { ++redraws; });
    MapFileCommands commands(session);
    auto before = std::make_unique<Snapshot>(Snapshot{state->map, state->events, state->encounters});
    const QString path = dir.file("missing.map");

    prompts.chooseFile(path);
    commands.LoadMap1Click();
    QCOMPARE(prompts.texts(), QStringList{QStringLiteral("Cannot open file %1").arg(path)});
    QVERIFY(prompts.shown[0].kind == Prompts::Kind::Error);
    QCOMPARE(redraws, 0);
    QVERIFY(same(*before, *state));
}

void TestMapFile::openDialogRemembersLastFile()
{
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    setSizes(state->core.map, state->events, 2, 2, 0, 0, 0);
    ScriptedPrompts prompts;
    EditorSession session(*state, prompts);
    MapFileCommands commands(session);
    dir.write("first.map", QByteArray(172, '\1'));

    commands.LoadMap1Click();                        // cancelled
    prompts.chooseFile(dir.file("first.map"));
    commands.LoadMap1Click();
    commands.LoadMap1Click();                        // cancelled: the name stays
    prompts.chooseFile(dir.file("second.map"));      // chosen, though it cannot be opened
    commands.LoadMap1Click();
    commands.LoadMap1Click();

    QCOMPARE(prompts.fileRequests.size(), size_t(5));
    QCOMPARE(prompts.fileRequests[0].initialName, QString());
    QCOMPARE(prompts.fileRequests[1].initialName, QString());
    QCOMPARE(prompts.fileRequests[2].initialName, dir.file("first.map"));
    QCOMPARE(prompts.fileRequests[3].initialName, dir.file("first.map"));
    QCOMPARE(prompts.fileRequests[4].initialName, dir.file("second.map"));

    // SaveDialog2 proposes the current map's name every time.
    state->core.map.name = QStringLiteral("Dark Cave");
    commands.SaveMap1Click();
    QCOMPARE(prompts.fileRequests.back().initialName, QStringLiteral("Dark Cave.map"));
}

void TestMapFile::pictures_data()
{
    QTest::addColumn<bool>("tileset");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rowBytes");
    QTest::newRow("map of 20 x 18 blocks") << false << 1280 << 1152 << 3840;
    QTest::newRow("block palette") << true << 64 << 8192 << 192;
    QTest::newRow("map of one block") << false << 64 << 64 << 192;
    QTest::newRow("odd width") << true << 3 << 2 << 12;
}

void TestMapFile::pictures()
{
    QFETCH(bool, tileset);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, rowBytes);
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    ScriptedPrompts prompts;
    EditorSession session(*state, prompts);
    MapFileCommands commands(session);
    const QImage image = tileset ? patterned(width, height) : showMap(*state, width / 64, height / 64);
    for (const QString& name : {QStringLiteral("first.DIB"), QStringLiteral("second.DIB")}) {
        prompts.chooseFile(dir.file(name));
        if (tileset)
            commands.SaveTilesetPicture1Click(image);
        else
            commands.SaveMapPicture1Click(false);
        commands.finishRunning();
    }

    QVERIFY(prompts.shown.empty());
    QCOMPARE(prompts.fileRequests.size(), size_t(2));
    for (const Prompts::FileRequest& request : prompts.fileRequests) {
        QCOMPARE(request.filter,
                 QStringLiteral("Device Intependent Bitmap (*.DIB)|*.DIB|PNG image (*.png)|*.png|All files (*.*)|*.*"));
        QCOMPARE(request.defaultSuffix, QStringLiteral("DIB"));
        QCOMPARE(request.initialName, QString());   // a fresh dialog each time
    }
    const QByteArray file = dir.read("second.DIB");
    QCOMPARE(file.size(), qsizetype(54) + qsizetype(rowBytes) * height);
    QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 10), 54u);
    QCOMPARE(qFromLittleEndian<quint16>(file.constData() + 28), quint16(24));
    const QImage back(dir.file("second.DIB"), "BMP");
    QCOMPARE(back.size(), image.size());
    QCOMPARE(back.convertToFormat(QImage::Format_RGB32), image);

    // A ".png" name (any case) gives a PNG file of the same pixels.
    prompts.chooseFile(dir.file(QStringLiteral("third.PNG")));
    if (tileset)
        commands.SaveTilesetPicture1Click(image);
    else
        commands.SaveMapPicture1Click(false);
    commands.finishRunning();
    QVERIFY(dir.read("third.PNG").startsWith("\x89PNG"));
    QCOMPARE(QImage(dir.file("third.PNG"), "PNG").convertToFormat(QImage::Format_RGB32), image);
}

void TestMapFile::uncreatablePicture()
{
    TestDir dir;
    auto state = std::make_unique<EditorState>(dir.path());
    ScriptedPrompts prompts;
    EditorSession session(*state, prompts);
    MapFileCommands commands(session);
    const QString path = dir.file("no such folder/map.DIB");

    showMap(*state, 1, 1);
    prompts.chooseFile(path);
    commands.SaveMapPicture1Click(false);
    commands.finishRunning();
    prompts.chooseFile(path);
    commands.SaveTilesetPicture1Click(patterned(64, 8192));
    const QString message = QStringLiteral("Cannot create file %1").arg(path);
    QCOMPARE(prompts.texts(), (QStringList{message, message}));
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

QTEST_MAIN(TestMapFile)
#include "tst_map_file.moc"
