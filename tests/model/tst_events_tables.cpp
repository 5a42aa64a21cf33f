#include "base/ini_file.h"
#include "model/rom/rom_image.h"
#include "model/events/event_tables.h"
#include "support/test_files.h"

#include <QtTest>

namespace {

QByteArray section(const QString& name, const QList<std::pair<const char*, QString>>& keys)
{
    QByteArray text = "[" + name.toLatin1() + "]\r\n";
    for (const auto& [key, value] : keys)
        text += QByteArray(key) + "=" + value.toLatin1() + "\r\n";
    return text;
}

QByteArray townIni()
{
    return section(QStringLiteral("Town"), {{"Warps", "3"}, {"Warp offset", "$1C0F2"}, {"Singposts", "2"},
                                            {"Singpost offset", "0x1C110"}, {"Peoples", "4"},
                                            {"People offset", "115000"}});
}

} // namespace

class TestEventTables : public QObject {
    Q_OBJECT
private slots:
    void loadReadsTheRecordsAndSaveWritesThemBack();
    void personPositionsWrapByFour();
    void zeroCountTouchesNothing();
    void refusedSections_data();
    void refusedSections();
    void viewAndBuilderConditions_data();
    void viewAndBuilderConditions();
    void topMostEventOnASharedSquare();
    void statusTexts_data();
    void statusTexts();
    void editsStayInsideTheMapsRecords();
    void saveNeverGrowsTheImage();
};

void TestEventTables::loadReadsTheRecordsAndSaveWritesThemBack()
{
    TestDir dir;
    dir.write(QStringLiteral("Events.ini"), townIni());
    IniFile ini(dir.file(QStringLiteral("Events.ini")));
    RomImage rom;
    rom.setBytes(TestDir::patternRom(0x20000));
    const QByteArray original = rom.bytes();

    EventState state;
    QCOMPARE(loadEventTables(ini, QStringLiteral("Town"), rom, state), QString());
    QCOMPARE(state.WarpOffset, 0x1C0F2);
    QCOMPARE(state.SingpostOffset, 0x1C110);
    QCOMPARE(state.PeopleOffset, 115000);
    QCOMPARE(state.WarpCount, 3);
    QCOMPARE(state.SingpostCount, 2);
    QCOMPARE(state.PeopleCount, 4);

    // Record i lies at offset + (i - 1) * size.
    QCOMPARE(int(state.WarpTable[2].Y), rom.byteAt(0x1C0F2 + 5));
    QCOMPARE(int(state.WarpTable[3].MapNumber), rom.byteAt(0x1C0F2 + 14));
    QCOMPARE(int(state.SingpostTable[2].TextBank), rom.byteAt(0x1C110 + 9));
    QCOMPARE(int(state.PeopleTable[4].HiddenFlag), rom.byteAt(115000 + 3 * 13 + 12));
    QCOMPARE(int(state.PeopleTable[1].Y), (rom.byteAt(115001) - 4) & 0xFF);
    QCOMPARE(int(state.PeopleTable[1].X), (rom.byteAt(115002) - 4) & 0xFF);
    QCOMPARE(int(state.WarpTable[4].Y), 0);   // beyond the count nothing is read

    // Unchanged: byte for byte the same image.
    QCOMPARE(saveEventTables(state, rom), QString());
    QCOMPARE(rom.bytes(), original);

    // Edits land at their records' bytes, and nowhere else.
    setEventByte(state, TEventData{3, TEventData::Warp}, 4, 0x77);
    setEventByte(state, TEventData{1, TEventData::Singpost}, 2, 7);
    moveEvent(state, TEventData{4, TEventData::People}, 10, 20);
    QCOMPARE(saveEventTables(state, rom), QString());
    QByteArray expected = original;
    expected[0x1C0F2 + 14] = char(0x77);
    expected[0x1C110 + 2] = char(7);
    expected[115000 + 39 + 1] = char(24);
    expected[115000 + 39 + 2] = char(14);
    QCOMPARE(rom.bytes(), expected);
}

void TestEventTables::personPositionsWrapByFour()
{
    TestDir dir;
    dir.write(QStringLiteral("Events.ini"),
              section(QStringLiteral("Cave"), {{"Peoples", "1"}, {"People offset", "16"}}));
    IniFile ini(dir.file(QStringLiteral("Events.ini")));
    RomImage rom;
    QByteArray bytes(64, '\0');
    bytes[17] = 3;   // Y
    bytes[18] = 2;   // X
    rom.setBytes(bytes);

    EventState state;
    QCOMPARE(loadEventTables(ini, QStringLiteral("Cave"), rom, state), QString());
    QCOMPARE(int(state.PeopleTable[1].Y), 255);
    QCOMPARE(int(state.PeopleTable[1].X), 254);
    QCOMPARE(GetEventData(state, 254, 255), (TEventData{1, TEventData::People}));
    QCOMPARE(saveEventTables(state, rom), QString());
    QCOMPARE(rom.bytes(), bytes);
    // The working copy keeps the square positions after a save.
    QCOMPARE(int(state.PeopleTable[1].Y), 255);
}

void TestEventTables::zeroCountTouchesNothing()
{
    TestDir dir;
    // Offsets far outside the image: with count 0 they are never used.
    dir.write(QStringLiteral("Events.ini"),
              section(QStringLiteral("Room"), {{"Warps", "0"}, {"Warp offset", "99999999"}, {"Singposts", "0"},
                                               {"Singpost offset", "5"}, {"Peoples", "0"}, {"People offset", "7"}}));
    IniFile ini(dir.file(QStringLiteral("Events.ini")));
    RomImage rom;
    rom.setBytes(TestDir::patternRom(100));
    const QByteArray original = rom.bytes();
    EventState state;
    state.WarpTable[1].Y = 9;   // left over from a previous map
    QCOMPARE(loadEventTables(ini, QStringLiteral("Room"), rom, state), QString());
    QCOMPARE(state.WarpOffset, 99999999);
    QCOMPARE(int(state.WarpTable[1].Y), 0);
    QCOMPARE(int(state.SingpostTable[1].Y), 0);
    state.SingpostTable[1].Y = 42;   // beyond the count: must not reach the image
    QCOMPARE(saveEventTables(state, rom), QString());
    QCOMPARE(rom.bytes(), original);
    QCOMPARE(GetEventData(state, 0, 0).Kind, TEventData::None);
}

void TestEventTables::refusedSections_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("part");
    QTest::newRow("count above 255") << QByteArray("Warps=300\nWarp offset=10\n") << QStringLiteral("warps 300");
    QTest::newRow("negative count") << QByteArray("Peoples=-1\nPeople offset=10\n") << QStringLiteral("people -1");
    QTest::newRow("runs past the end") << QByteArray("Singposts=3\nSingpost offset=190\n")
                                       << QStringLiteral("signposts table at BE");
    QTest::newRow("negative offset") << QByteArray("Warps=1\nWarp offset=-5\n") << QStringLiteral("outside");
    QTest::newRow("beyond the image") << QByteArray("Warps=1\nWarp offset=$FFFF\n") << QStringLiteral("FFFF");
}

void TestEventTables::refusedSections()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, part);
    TestDir dir;
    dir.write(QStringLiteral("Events.ini"), "[Bad]\n" + keys);
    IniFile ini(dir.file(QStringLiteral("Events.ini")));
    RomImage rom;
    rom.setBytes(TestDir::patternRom(200));
    EventState state;
    state.WarpCount = 2;
    state.WarpOffset = 4;
    state.WarpTable[1].X = 3;
    const QString problem = loadEventTables(ini, QStringLiteral("Bad"), rom, state);
    QVERIFY2(problem.contains(QStringLiteral("\"Bad\"")) && problem.contains(part), qPrintable(problem));
    // The map is shown without events: nothing to draw, save or build.
    QCOMPARE(state.WarpCount, 0);
    QCOMPARE(state.WarpOffset, 0);
    QCOMPARE(int(state.WarpTable[1].X), 0);
    QVERIFY(!eventsPresent(state));
    QVERIFY(!eventsBuildable(state));
    QVERIFY(!isEventRecord(state, TEventData{1, TEventData::Warp}));
}

void TestEventTables::viewAndBuilderConditions_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<bool>("present");
    QTest::addColumn<bool>("buildable");
    QTest::newRow("no section") << QByteArray() << false << false;
    QTest::newRow("only warps") << QByteArray("Warps=1\nWarp offset=20\n") << true << false;
    QTest::newRow("a negative offset")
        << QByteArray("Warp offset=20\nSingpost offset=-3\nPeople offset=40\n") << true << false;
    QTest::newRow("all three") << QByteArray("Warp offset=20\nSingpost offset=30\nPeople offset=40\n") << true << true;
}

void TestEventTables::viewAndBuilderConditions()
{
    QFETCH(QByteArray, keys);
    QFETCH(bool, present);
    QFETCH(bool, buildable);
    TestDir dir;
    dir.write(QStringLiteral("Events.ini"), keys.isEmpty() ? QByteArray() : "[Map]\n" + keys);
    IniFile ini(dir.file(QStringLiteral("Events.ini")));
    RomImage rom;
    rom.setBytes(TestDir::patternRom(100));
    EventState state;
    QCOMPARE(loadEventTables(ini, QStringLiteral("Map"), rom, state), QString());
    QCOMPARE(eventsPresent(state), present);
    QCOMPARE(eventsBuildable(state), buildable);
}

void TestEventTables::topMostEventOnASharedSquare()
{
    EventState s;
    s.WarpCount = 3;
    s.SingpostCount = 2;
    s.PeopleCount = 3;
    auto place = [&](TEventData e, int x, int y) { QVERIFY(moveEvent(s, e, x, y)); };
    place({1, TEventData::Warp}, 5, 3);
    place({2, TEventData::Warp}, 5, 3);
    place({3, TEventData::Warp}, 1, 1);
    QCOMPARE(GetEventData(s, 5, 3), (TEventData{2, TEventData::Warp}));
    place({1, TEventData::Singpost}, 5, 3);
    QCOMPARE(GetEventData(s, 5, 3), (TEventData{1, TEventData::Singpost}));
    place({2, TEventData::People}, 5, 3);
    place({3, TEventData::People}, 5, 3);
    QCOMPARE(GetEventData(s, 5, 3), (TEventData{3, TEventData::People}));
    QCOMPARE(GetEventData(s, 1, 1), (TEventData{3, TEventData::Warp}));
    // Records beyond the counts are not events, even at a matching square.
    s.WarpTable[4] = TWarpRecord{7, 7, 0, 0, 0};
    QCOMPARE(GetEventData(s, 7, 7).Kind, TEventData::None);
    QCOMPARE(GetEventData(s, -1, 0).Kind, TEventData::None);
}

void TestEventTables::statusTexts_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("text");
    QTest::newRow("warp") << 5 << 3 << QStringLiteral("Y: 3 X: 5 Warp2 Offset: 1C0F7");
    QTest::newRow("signpost") << 2 << 2 << QStringLiteral("Y: 2 X: 2 Singpost 1 Offset: 1C110");
    QTest::newRow("person") << 0 << 0 << QStringLiteral("Y: 0 X: 0 People 2 Offset: 0D");
    QTest::newRow("empty") << 6 << 3 << QStringLiteral("Y: 3 X: 6 No event");
    QTest::newRow("left of the picture") << -1 << 0 << QStringLiteral("Y: 0 X: -1 No event");
}

void TestEventTables::statusTexts()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QString, text);
    EventState s;
    s.WarpOffset = 0x1C0F2;
    s.SingpostOffset = 0x1C110;
    s.PeopleOffset = 0;
    s.WarpCount = 2;
    s.SingpostCount = 1;
    s.PeopleCount = 2;
    moveEvent(s, {1, TEventData::Warp}, 9, 9);
    moveEvent(s, {2, TEventData::Warp}, 5, 3);
    moveEvent(s, {1, TEventData::Singpost}, 2, 2);
    moveEvent(s, {1, TEventData::People}, 8, 8);
    moveEvent(s, {2, TEventData::People}, 0, 0);
    TEventData hover;
    QCOMPARE(eventStatusText(s, x, y, &hover), text);
    QCOMPARE(hover, GetEventData(s, x, y));
}

void TestEventTables::editsStayInsideTheMapsRecords()
{
    EventState s;
    s.WarpCount = 2;
    s.PeopleCount = 1;
    QVERIFY(setEventByte(s, {2, TEventData::Warp}, 4, 300));
    QCOMPARE(int(s.WarpTable[2].MapNumber), 44);
    QVERIFY(setEventByte(s, {1, TEventData::People}, 12, -1));
    QCOMPARE(int(s.PeopleTable[1].HiddenFlag), 255);
    QCOMPARE(eventByte(s, {1, TEventData::People}, 12), 255);
    // No record, no byte: nothing changes.
    QVERIFY(!setEventByte(s, {3, TEventData::Warp}, 0, 1));
    QVERIFY(!setEventByte(s, {0, TEventData::Warp}, 0, 1));
    QVERIFY(!setEventByte(s, {1, TEventData::Singpost}, 0, 1));
    QVERIFY(!setEventByte(s, {1, TEventData::None}, 0, 1));
    QVERIFY(!setEventByte(s, {1, TEventData::Warp}, 5, 1));
    QVERIFY(!moveEvent(s, {2, TEventData::People}, 1, 1));
    QCOMPARE(int(s.WarpTable[3].Y), 0);
    QCOMPARE(int(s.PeopleTable[2].Y), 0);
    QCOMPARE(eventByte(s, {1, TEventData::Warp}, 5), -1);
    // Positions keep their low 8 bits.
    QVERIFY(moveEvent(s, {1, TEventData::Warp}, -1, -2));
    QCOMPARE(int(s.WarpTable[1].X), 255);
    QCOMPARE(int(s.WarpTable[1].Y), 254);
    // A count that cannot be a table is never taken as one.
    s.SingpostCount = 100000;
    QCOMPARE(eventCount(s, TEventData::Singpost), MaxEventCount);
}

void TestEventTables::saveNeverGrowsTheImage()
{
    EventState s;
    s.WarpCount = 2;
    s.WarpOffset = 95;       // 10 bytes from 95 run past a 100-byte image
    s.SingpostCount = 1;
    s.SingpostOffset = 10;
    s.SingpostTable[1] = TSingpostRecord{1, 2, 3, 4, 5};
    s.WarpTable[1].Y = 0xAA;
    RomImage rom;
    rom.setBytes(QByteArray(100, '\0'));
    const QString problem = saveEventTables(s, rom);
    QVERIFY(problem.contains(QStringLiteral("warps")));
    QCOMPARE(rom.size(), 100);
    QCOMPARE(rom.byteAt(95), 0);
    QCOMPARE(rom.bytes().mid(10, 5), QByteArray("\x01\x02\x03\x04\x05", 5));
}

QTEST_GUILESS_MAIN(TestEventTables)
#include "tst_events_tables.moc"
