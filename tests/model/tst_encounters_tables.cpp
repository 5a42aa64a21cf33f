// The wild tables' ROM layout, the working-table edits and the generator.
#include "model/rom/rom_image.h"
#include "model/encounters/encounter_io.h"
#include "model/encounters/encounter_tables.h"
#include "model/encounters/randomizer.h"
#include "support/test_files.h"

#include <QtTest>

class TestEncounterTables : public QObject {
    Q_OBJECT
private slots:
    void readsTheLayout_data();
    void readsTheLayout();
    void refusesTablesOutsideTheImage_data();
    void refusesTablesOutsideTheImage();
    void writesExactlyTheTable();
    void writesTheLowEightBits_data();
    void writesTheLowEightBits();
    void editsRefuseSlotsThatDoNotExist();
    void firstDrawOfARunIsZero();
    void rejectedDrawsUseUpSteps();
    void equalBoundsAlwaysGiveThatValue();
    void impossibleBoundsDoNotHang();
};

static RomImage patternImage(qsizetype size)
{
    RomImage rom;
    rom.setBytes(TestDir::patternRom(size));
    return rom;
}

void TestEncounterTables::readsTheLayout_data()
{
    QTest::addColumn<qint64>("offset");
    QTest::newRow("start of the image") << qint64(0);
    QTest::newRow("inside") << qint64(0x1234);
    QTest::newRow("last 42 bytes") << qint64(0x2000 - 42);
}

void TestEncounterTables::readsTheLayout()
{
    QFETCH(qint64, offset);
    const RomImage rom = patternImage(0x2000);
    const std::optional<EncounterTables> tables = readEncounterTables(rom, offset);
    QVERIFY(tables.has_value());
    for (int time = Morning; time <= Night; ++time) {
        for (int k = 0; k < SlotsPerTime; ++k) {
            const qint64 at = offset + 14 * time + 2 * k;
            QCOMPARE(tables->slotAt(time, k).level, rom.byteAt(at));
            QCOMPARE(tables->slotAt(time, k).number, rom.byteAt(at + 1));
        }
    }
}

void TestEncounterTables::refusesTablesOutsideTheImage_data()
{
    QTest::addColumn<qint64>("offset");
    QTest::newRow("one byte short") << qint64(0x2000 - 41);
    QTest::newRow("at the end") << qint64(0x2000);
    QTest::newRow("far beyond") << qint64(0x7FFFFFFF);
    QTest::newRow("negative") << qint64(-5);
}

void TestEncounterTables::refusesTablesOutsideTheImage()
{
    QFETCH(qint64, offset);
    RomImage rom = patternImage(0x2000);
    const QByteArray before = rom.bytes();
    QVERIFY(!encounterTableInside(rom, offset));
    QVERIFY(!readEncounterTables(rom, offset).has_value());
    EncounterTables tables;
    tables.setSlot(Night, 6, {9, 9});
    QVERIFY(!writeEncounterTables(rom, offset, tables));
    QCOMPARE(rom.bytes(), before);
}

void TestEncounterTables::writesExactlyTheTable()
{
    RomImage rom = patternImage(0x400);
    const QByteArray before = rom.bytes();
    const qint64 offset = 0x100;
    EncounterTables tables;
    for (int time = Morning; time <= Night; ++time)
        for (int k = 0; k < SlotsPerTime; ++k)
            tables.setSlot(time, k, {200 + 10 * time + k, 100 + 10 * time + k});
    QVERIFY(writeEncounterTables(rom, offset, tables));
    QCOMPARE(rom.size(), before.size());
    QCOMPARE(rom.bytes().left(offset), before.left(offset));
    QCOMPARE(rom.bytes().mid(offset + 42), before.mid(offset + 42));
    QCOMPARE(rom.byteAt(offset), 200);               // morning 0: level
    QCOMPARE(rom.byteAt(offset + 1), 100);           // morning 0: number
    QCOMPARE(rom.byteAt(offset + 14 + 2 * 3), 213);  // day 3: level
    QCOMPARE(rom.byteAt(offset + 28 + 2 * 6 + 1), 126); // night 6: number
    QCOMPARE(readEncounterTables(rom, offset).value(), tables);
}

void TestEncounterTables::writesTheLowEightBits_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("255") << 255 << 255;
    QTest::newRow("256") << 256 << 0;
    QTest::newRow("300") << 300 << 44;
    QTest::newRow("-1") << -1 << 255;
}

void TestEncounterTables::writesTheLowEightBits()
{
    QFETCH(qint32, value);
    QFETCH(int, stored);
    RomImage rom = patternImage(64);
    EncounterTables tables;
    tables.setSlot(Day, 2, {value, value});
    QVERIFY(writeEncounterTables(rom, 10, tables));
    QCOMPARE(rom.byteAt(10 + 14 + 4), stored);
    QCOMPARE(rom.byteAt(10 + 14 + 5), stored);
}

void TestEncounterTables::editsRefuseSlotsThatDoNotExist()
{
    EncounterTables tables;
    QVERIFY(tables.setLevel(Night, 6, 7));
    QVERIFY(tables.setNumber(Morning, 0, 8));
    QCOMPARE(tables.night()[6].level, 7);
    QCOMPARE(tables.morning()[0].number, 8);
    const EncounterTables before = tables;
    QVERIFY(!tables.setLevel(3, 0, 1));
    QVERIFY(!tables.setNumber(0, 7, 1));
    QVERIFY(!tables.setSlot(-1, 0, {1, 1}));
    QVERIFY(!tables.setSlot(0, -1, {1, 1}));
    QCOMPARE(tables, before);
    QCOMPARE(tables.slotAt(0, 7), EncounterSlot{});
    tables.clear();
    QCOMPARE(tables, EncounterTables{});
}

void TestEncounterTables::firstDrawOfARunIsZero()
{
    Randomizer random;
    QCOMPARE(random.state(), 0u);
    QCOMPARE(random.Random(250), 0u);
    QCOMPARE(random.state(), 1u);
    // 1 * 134775813 + 1, and then the next step wraps around 2^32.
    QCOMPARE(random.Random(1u << 31), quint32((quint64(134775814u) << 31) >> 32));
    QCOMPARE(random.state(), 134775814u);
    random.Random(2);
    QCOMPARE(random.state(), quint32(quint64(134775814u) * 134775813u + 1u));
}

void TestEncounterTables::rejectedDrawsUseUpSteps()
{
    // The first candidate of a run is 1: with a minimum of 2 it is rejected
    // and the value comes from the second step.
    Randomizer random;
    Randomizer reference;
    const qint32 value = random.RandomInRange(200, 2);
    QCOMPARE(reference.Random(200) + 1, 1u);
    QCOMPARE(quint32(value), reference.Random(200) + 1);
    QCOMPARE(random.state(), reference.state());
}

void TestEncounterTables::equalBoundsAlwaysGiveThatValue()
{
    Randomizer random;
    for (int i = 0; i < 50; ++i)
        QCOMPARE(random.RandomInRange(37, 37), 37);
    for (int i = 0; i < 20; ++i)
        QCOMPARE(random.RandomInRange(1, 1), 1);
    for (int i = 0; i < 20; ++i) {
        const qint32 r = random.RandomInRange(255, 254);
        QVERIFY(r == 254 || r == 255);
    }
}

void TestEncounterTables::impossibleBoundsDoNotHang()
{
    Randomizer random;
    random.Random(10);
    const quint32 state = random.state();
    QCOMPARE(random.RandomInRange(10, 20), 20);
    QCOMPARE(random.RandomInRange(0, 0), 0);
    QCOMPARE(random.RandomInRange(-3, -5), -5);
    QCOMPARE(random.state(), state);
}

QTEST_GUILESS_MAIN(TestEncounterTables)
#include "tst_encounters_tables.moc"
