// The Wild Critters page, driven as the main window and the user drive it.
#include "session/editor_session.h"
#include "model/catalogue/map_record.h"
#include "model/encounters/encounter_io.h"
#include "ui/encounters/wild_critters_page.h"
#include "support/scripted_prompts.h"
#include "widgets/edit_spin_box.h"
#include "support/test_files.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <memory>

namespace {

constexpr qint64 RomSize = 0x4000;
constexpr qint64 RouteTable = 0x1000;  // "Route 1"
constexpr qint64 OtherTable = 0x2000;  // "Route 2"

const QByteArray StandardCritters =
    "[Route 1]\r\nStart offset=4096\r\n"
    "[Route 2]\r\nStart offset=0x2000\r\n"
    "[Town]\r\nComment=no table here\r\n"
    "[Cave]\r\nStart offset=0\r\n";

// One editor: a program directory with Critters.ini, a ROM image, the
// working tables and the page, shown offscreen.
struct Editor {
    explicit Editor(const QByteArray& critters = StandardCritters, const QByteArray& rom = TestDir::patternRom(RomSize))
        : written(writeCatalogue(dir, critters, rom)), state(dir.path()), session(state, prompts)
    {
        QVERIFY(session.loadRom(dir.file(QStringLiteral("game.gbc"))).isDone());
        page = std::make_unique<WildCrittersPage>(session);
        page->resize(900, 420);
        page->show();
        if (!QTest::qWaitForWindowExposed(page.get()))
            qWarning("page not exposed");
    }

    // Every map of the test is a 2 x 2 map of tileset 1; only their wild tables differ.
    static bool writeCatalogue(TestDir& dir, const QByteArray& critters, const QByteArray& rom)
    {
        QByteArray maps;
        for (const char* name : {"Route 1", "Route 2", "Route 9", "Town", "Cave", "Broken"})
            maps += QByteArray("[") + name + "]\r\nStart offset=$3000\r\nEnd offset=$3003\r\nX size=2\r\nY size=2\r\nTileset=1\r\n";
        dir.write(QStringLiteral("Maps.Ini"), maps);
        dir.write(QStringLiteral("Tilesets.ini"), "[1]\r\nStart offset=$3100\r\nBlocks=3\r\nTiles=tiles1.bmp\r\n");
        dir.writeTilePicture(QStringLiteral("tiles1.bmp"));
        dir.write(QStringLiteral("Critters.ini"), critters);
        dir.write(QStringLiteral("game.gbc"), rom);
        return true;
    }

    // The map pick of the session.
    void pick(const QString& name) { session.pickMap(name); }
    // Save Rom's first steps: the working copies into the image.
    void saveStep() { session.writeWorkingCopies(); }

    QListWidget* box(int time) const
    {
        static const char* names[] = {"MorningBox", "DayBox", "NightBox"};
        return page->findChild<QListWidget*>(QLatin1String(names[time]));
    }
    QSpinBox* spin(const char* name) const { return page->findChild<QSpinBox*>(QLatin1String(name)); }
    QSpinBox* number(int time) const
    {
        static const char* names[] = {"MorningNumber", "DayNumber", "NightNumber"};
        return spin(names[time]);
    }
    QSpinBox* level(int time) const
    {
        static const char* names[] = {"MorningLevel", "DayLevel", "NightLevel"};
        return spin(names[time]);
    }
    QGroupBox* group(int n) const { return page->findChild<QGroupBox*>(QStringLiteral("GroupBox%1").arg(n)); }
    QLabel* notice() const { return page->findChild<QLabel*>(QStringLiteral("Label1")); }

    QStringList lines(int time) const
    {
        QStringList result;
        for (int k = 0; k < box(time)->count(); ++k)
            result << box(time)->item(k)->text();
        return result;
    }
    QStringList allLines() const { return lines(Morning) + lines(Day) + lines(Night); }

    void clickLine(int time, int k) const
    {
        QListWidget* b = box(time);
        QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, b->visualItemRect(b->item(k)).center());
    }
    // A click of Randomize and the fill's end (the button reads "Randomize" again).
    void clickRandomize() const
    {
        auto* button = page->findChild<QPushButton*>(QStringLiteral("Button1"));
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(button->text(), QStringLiteral("Randomize"));
    }
    static void type(QSpinBox* spin, const QString& text)
    {
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, text);
    }
    void setRanges(int minNumber, int maxNumber, int minLevel, int maxLevel) const
    {
        spin("MinCritter")->setValue(minNumber);
        spin("MaxCritter")->setValue(maxNumber);
        spin("MinLev")->setValue(minLevel);
        spin("MaxLev")->setValue(maxLevel);
    }
    // True when the user sees the notice, not the groups, where it lies.
    bool noticeSeen() const
    {
        const QLabel* label = notice();
        return label->isVisible() && page->childAt(label->geometry().center()) == label;
    }
    bool groupsShown() const
    {
        for (int n = 1; n <= 4; ++n)
            if (!group(n)->isVisible())
                return false;
        return true;
    }
    bool groupsHidden() const
    {
        for (int n = 1; n <= 4; ++n)
            if (group(n)->isVisible())
                return false;
        return true;
    }

    TestDir dir;
    bool written;
    EditorState state;
    EditorCore* core = &state.core;
    EncounterTables& tables = state.encounters;
    ScriptedPrompts prompts;
    EditorSession session;
    std::unique_ptr<WildCrittersPage> page;
};

// The lines of the first two clicks after start with the start ranges, each
// morning to night: the generator's first 84 draws (state * 134775813 + 1, the
// high half of state * range, drawn again below the minimum), worked out once
// outside the program.
const QStringList FirstClick = {
    "L: 61 N: 51", "L: 20 N: 168", "L: 23 N: 41", "L: 27 N: 107", "L: 34 N: 18", "L: 59 N: 15", "L: 21 N: 230",
    "L: 26 N: 194", "L: 23 N: 175", "L: 60 N: 180", "L: 22 N: 41", "L: 24 N: 117", "L: 58 N: 70", "L: 34 N: 38",
    "L: 62 N: 72", "L: 55 N: 245", "L: 35 N: 222", "L: 58 N: 6", "L: 36 N: 6", "L: 42 N: 3", "L: 55 N: 163"};
const QStringList SecondClick = {
    "L: 54 N: 178", "L: 40 N: 52", "L: 48 N: 149", "L: 67 N: 162", "L: 70 N: 61", "L: 48 N: 74", "L: 55 N: 124",
    "L: 62 N: 128", "L: 41 N: 239", "L: 48 N: 85", "L: 50 N: 248", "L: 55 N: 188", "L: 64 N: 197", "L: 42 N: 217",
    "L: 49 N: 72", "L: 45 N: 71", "L: 62 N: 41", "L: 20 N: 136", "L: 68 N: 44", "L: 41 N: 125", "L: 20 N: 39"};

class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

class TestWildCrittersPage : public QObject {
    Q_OBJECT
private slots:
    void startsHiddenWithEmptyLines();
    void typedValueStoredThenBroughtIntoRange_data();
    void typedValueStoredThenBroughtIntoRange();
    void offsetFormsAddressTheSameTable_data();
    void offsetFormsAddressTheSameTable();
    void mapWithoutTableShowsNoticeAndIsNotWritten_data();
    void mapWithoutTableShowsNoticeAndIsNotWritten();
    void tableOutsideTheImageIsRefused_data();
    void tableOutsideTheImageIsRefused();
    void emptySlotListedAsZeroAndShownAsOne();
    void valueChangeStoresIntoTheSelectedSlot_data();
    void valueChangeStoresIntoTheSelectedSlot();
    void changeWithoutSelectedLineTouchesNoSlot();
    void keysMoveTheSelectionAndShowTheSlot();
    void editsDroppedByChoosingAnotherMapAndBack();
    void saveWritesTheEditedTable();
    void tablesWrittenFromOutsideShowAfterUpdateCritter();
    void clearMapEmptiesThePage();
    void randomizeAfterStartGivesTheKnownMorningTable();
    void secondClickContinuesTheSequence();
    void equalBoundsAreAccepted_data();
    void equalBoundsAreAccepted();
    void refusedClickChangesNothing_data();
    void refusedClickChangesNothing();
    void linesFillOneByOne();
    void rangesAreReadForEverySlot();
};

void TestWildCrittersPage::startsHiddenWithEmptyLines()
{
    Editor e;
    QVERIFY(e.groupsHidden());
    QVERIFY(e.noticeSeen());
    QCOMPARE(e.notice()->text(), QStringLiteral("Sorry this map hasn't wild Critter data or it isn't found yet."));
    for (int time = Morning; time <= Night; ++time) {
        QCOMPARE(e.lines(time), QStringList(7, QString()));
        QCOMPARE(e.box(time)->currentRow(), -1);
    }
    QCOMPARE(e.box(Morning)->statusTip(), QStringLiteral("Wild Critter in morning"));
    QCOMPARE(e.level(Night)->statusTip(), QStringLiteral("Critter's level"));
    QCOMPARE(static_cast<EditSpinBox*>(e.number(Day))->lowerBound(), 1);
    QCOMPARE(static_cast<EditSpinBox*>(e.number(Day))->upperBound(), 255);
}

void TestWildCrittersPage::typedValueStoredThenBroughtIntoRange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("whileTyping");
    QTest::addColumn<int>("afterFocus");
    QTest::newRow("above 255") << "300" << 300 << 255;
    QTest::newRow("zero") << "0" << 0 << 1;
    QTest::newRow("negative") << "-7" << -7 << 1;
    QTest::newRow("not a number") << "-" << 1 << 1;
    QTest::newRow("inside") << "42" << 42 << 42;
}

void TestWildCrittersPage::typedValueStoredThenBroughtIntoRange()
{
    QFETCH(QString, typed);
    QFETCH(int, whileTyping);
    QFETCH(int, afterFocus);
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    e.clickLine(Night, 3);
    QSpinBox* level = e.level(Night);
    level->setFocus();
    Editor::type(level, typed);
    QCOMPARE(e.tables.night()[3].level, whileTyping);
    // Tab moves the focus to the next control: the box brings its value into range.
    QTest::keyClick(level, Qt::Key_Tab);
    QCOMPARE(e.tables.night()[3].level, afterFocus);
    QCOMPARE(level->value(), afterFocus);
    QCOMPARE(e.lines(Night)[3], QStringLiteral("L: %1 N: 115").arg(afterFocus));
}

void TestWildCrittersPage::offsetFormsAddressTheSameTable_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("decimal") << QByteArray("4096");
    QTest::newRow("0x") << QByteArray("0x1000");
    QTest::newRow("0X") << QByteArray("0X1000");
    QTest::newRow("$") << QByteArray("$1000");
}

void TestWildCrittersPage::offsetFormsAddressTheSameTable()
{
    QFETCH(QByteArray, written);
    Editor e("[Route 9]\r\nStart offset=" + written + "\r\n");
    e.pick(QStringLiteral("Route 9"));
    QCOMPARE(e.core->map.EncounterStart, qint32(RouteTable));
    QVERIFY(e.groupsShown());
    QVERIFY(!e.noticeSeen());
    QCOMPARE(e.tables, readEncounterTables(e.core->rom, RouteTable).value());
    // Byte i of the pattern image is i mod 251: 0x1000 holds 80.
    QCOMPARE(e.lines(Morning).first(), QStringLiteral("L: 80 N: 81"));
    QCOMPARE(e.lines(Day).first(), QStringLiteral("L: 94 N: 95"));
    QCOMPARE(e.lines(Night).last(), QStringLiteral("L: 120 N: 121"));
    QVERIFY(e.prompts.shown.empty());
}

void TestWildCrittersPage::mapWithoutTableShowsNoticeAndIsNotWritten_data()
{
    QTest::addColumn<QString>("map");
    QTest::newRow("no Start offset") << "Town";
    QTest::newRow("Start offset 0") << "Cave";
}

void TestWildCrittersPage::mapWithoutTableShowsNoticeAndIsNotWritten()
{
    QFETCH(QString, map);
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    QVERIFY(e.groupsShown());
    e.pick(map);
    QCOMPARE(e.core->map.EncounterStart, 0);
    QVERIFY(e.groupsHidden());
    QVERIFY(e.noticeSeen());
    QVERIFY(e.prompts.shown.empty());
    // The working tables hold the image's first 42 bytes (a map file carries them).
    QCOMPARE(e.tables, readEncounterTables(e.core->rom, 0).value());

    const QByteArray before = e.core->rom.bytes();
    e.tables.setSlot(Morning, 0, {99, 99});
    e.saveStep();
    e.saveStep();  // even called regardless, offset 0 is never written
    QCOMPARE(e.core->rom.bytes(), before);
}

void TestWildCrittersPage::tableOutsideTheImageIsRefused_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("one byte short") << QByteArray("$3FD7");
    QTest::newRow("at the end") << QByteArray("16384");
    QTest::newRow("far beyond") << QByteArray("$7FFFFFFF");
    QTest::newRow("negative") << QByteArray("-5");
}

void TestWildCrittersPage::tableOutsideTheImageIsRefused()
{
    QFETCH(QByteArray, written);
    Editor e("[Route 1]\r\nStart offset=4096\r\n[Broken]\r\nStart offset=" + written + "\r\n");
    e.pick(QStringLiteral("Route 1"));
    e.pick(QStringLiteral("Broken"));
    QVERIFY(e.groupsHidden());
    QVERIFY(e.noticeSeen());
    QCOMPARE(e.prompts.shown.size(), size_t(1));
    QCOMPARE(e.prompts.shown[0].kind, Prompts::Kind::Warning);
    QVERIFY(e.prompts.lastText().contains(QLatin1String("Broken")));
    QCOMPARE(e.tables, EncounterTables{});
    QCOMPARE(e.lines(Morning).first(), QStringLiteral("L: 0 N: 0"));

    const QByteArray before = e.core->rom.bytes();
    e.tables.setSlot(Night, 6, {1, 2});
    e.saveStep();
    e.saveStep();
    QCOMPARE(e.core->rom.bytes(), before);
}

void TestWildCrittersPage::emptySlotListedAsZeroAndShownAsOne()
{
    QByteArray rom = TestDir::patternRom(RomSize);
    rom.replace(RouteTable, 42, QByteArray(42, '\0'));
    rom[RouteTable + 2] = 9;  // morning slot 1: level 9
    rom[RouteTable + 3] = 5;  //                number 5
    Editor e(StandardCritters, rom);
    e.pick(QStringLiteral("Route 1"));
    QCOMPARE(e.lines(Morning)[0], QStringLiteral("L: 0 N: 0"));
    QCOMPARE(e.lines(Night)[6], QStringLiteral("L: 0 N: 0"));

    // The controls already show 1: clicking the empty slot changes no shown
    // value, so nothing is stored.
    e.clickLine(Morning, 0);
    QCOMPARE(e.number(Morning)->value(), 1);
    QCOMPARE(e.level(Morning)->value(), 1);
    QCOMPARE(e.tables.morning()[0], (EncounterSlot{0, 0}));

    e.clickLine(Morning, 1);
    QCOMPARE(e.number(Morning)->value(), 5);
    QCOMPARE(e.level(Morning)->value(), 9);
    QCOMPARE(e.tables.morning()[1], (EncounterSlot{9, 5}));

    // Now showing the empty slot changes both controls to 1, and each change stores it.
    e.clickLine(Morning, 0);
    QCOMPARE(e.number(Morning)->value(), 1);
    QCOMPARE(e.level(Morning)->value(), 1);
    QCOMPARE(e.tables.morning()[0], (EncounterSlot{1, 1}));
    QCOMPARE(e.lines(Morning)[0], QStringLiteral("L: 1 N: 1"));
    QCOMPARE(e.tables.morning()[1], (EncounterSlot{9, 5}));
}

void TestWildCrittersPage::valueChangeStoresIntoTheSelectedSlot_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<bool>("numberControl");
    for (int time = Morning; time <= Night; ++time) {
        QTest::addRow("time %d number", time) << time << true;
        QTest::addRow("time %d level", time) << time << false;
    }
}

void TestWildCrittersPage::valueChangeStoresIntoTheSelectedSlot()
{
    QFETCH(int, time);
    QFETCH(bool, numberControl);
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    for (int t = Morning; t <= Night; ++t)
        e.clickLine(t, t == time ? 3 : 5);
    const EncounterTables before = e.tables;

    QSpinBox* spin = numberControl ? e.number(time) : e.level(time);
    Editor::type(spin, QStringLiteral("142"));
    EncounterTables expected = before;
    if (numberControl)
        expected.setNumber(time, 3, 142);
    else
        expected.setLevel(time, 3, 142);
    QCOMPARE(e.tables, expected);

    QTest::keyClick(spin, Qt::Key_Up);
    if (numberControl)
        expected.setNumber(time, 3, 143);
    else
        expected.setLevel(time, 3, 143);
    QCOMPARE(e.tables, expected);

    // All 21 lines show the tables, and every list keeps its selected line.
    // Route 1's bytes count up from 80: a level, then a number, for each slot.
    QStringList lines;
    for (int byte = 80; byte < 122; byte += 2)
        lines << QStringLiteral("L: %1 N: %2").arg(byte).arg(byte + 1);
    const int level = 86 + 14 * time;
    lines[time * SlotsPerTime + 3] = numberControl ? QStringLiteral("L: %1 N: 143").arg(level)
                                                   : QStringLiteral("L: 143 N: %1").arg(level + 1);
    QCOMPARE(e.allLines(), lines);
    for (int t = Morning; t <= Night; ++t) {
        QCOMPARE(e.box(t)->currentRow(), t == time ? 3 : 5);
        QVERIFY(e.box(t)->currentItem()->isSelected());
    }
}

void TestWildCrittersPage::changeWithoutSelectedLineTouchesNoSlot()
{
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    const EncounterTables before = e.tables;
    const QStringList lines = e.allLines();
    for (int time = Morning; time <= Night; ++time) {
        Editor::type(e.number(time), QStringLiteral("77"));
        Editor::type(e.level(time), QStringLiteral("66"));
        QCOMPARE(e.number(time)->value(), 77);
    }
    QCOMPARE(e.tables, before);
    QCOMPARE(e.allLines(), lines);
}

void TestWildCrittersPage::keysMoveTheSelectionAndShowTheSlot()
{
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    e.clickLine(Day, 0);
    QCOMPARE(e.number(Day)->value(), e.tables.day()[0].number);
    QCOMPARE(e.level(Day)->value(), e.tables.day()[0].level);
    QTest::keyClick(e.box(Day), Qt::Key_Down);
    QCOMPARE(e.box(Day)->currentRow(), 1);
    QCOMPARE(e.number(Day)->value(), e.tables.day()[1].number);
    QCOMPARE(e.level(Day)->value(), e.tables.day()[1].level);
    QCOMPARE(e.tables, readEncounterTables(e.core->rom, RouteTable).value());
}

void TestWildCrittersPage::editsDroppedByChoosingAnotherMapAndBack()
{
    Editor e;
    const QByteArray image = e.core->rom.bytes();
    e.pick(QStringLiteral("Route 1"));
    const QStringList original = e.allLines();
    e.clickLine(Morning, 2);
    Editor::type(e.number(Morning), QStringLiteral("199"));
    QCOMPARE(e.tables.morning()[2].number, 199);

    e.prompts.answer(Prompts::Answer::No);
    e.pick(QStringLiteral("Route 2"));
    QCOMPARE(e.prompts.shown.size(), size_t(1));
    QCOMPARE(e.tables, readEncounterTables(e.core->rom, OtherTable).value());
    e.pick(QStringLiteral("Route 1"));
    QCOMPARE(e.allLines(), original);
    // The selected line stays, the value controls are not refreshed.
    QCOMPARE(e.box(Morning)->currentRow(), 2);
    QCOMPARE(e.number(Morning)->value(), 199);

    e.saveStep();
    QCOMPARE(e.core->rom.bytes(), image);
}

void TestWildCrittersPage::saveWritesTheEditedTable()
{
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    QByteArray expected = e.core->rom.bytes();
    e.clickLine(Morning, 0);
    Editor::type(e.number(Morning), QStringLiteral("200"));
    e.clickLine(Night, 6);
    Editor::type(e.level(Night), QStringLiteral("3"));
    const EncounterTables edited = e.tables;
    e.saveStep();
    expected[RouteTable + 1] = char(200);
    expected[RouteTable + 28 + 12] = char(3);
    QCOMPARE(e.core->rom.bytes(), expected);
    QCOMPARE(e.tables, edited);
}

void TestWildCrittersPage::tablesWrittenFromOutsideShowAfterUpdateCritter()
{
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    e.clickLine(Day, 4);
    // A map file puts its values straight into the tables, then asks for the lines.
    e.tables.setSlot(Day, 4, {300, 256});
    e.page->UpdateCritter();
    QCOMPARE(e.lines(Day)[4], QStringLiteral("L: 300 N: 256"));
    QCOMPARE(e.box(Day)->currentRow(), 4);
    e.saveStep();
    QCOMPARE(e.core->rom.byteAt(RouteTable + 14 + 8), 300 % 256);
    QCOMPARE(e.core->rom.byteAt(RouteTable + 14 + 9), 0);
}

void TestWildCrittersPage::clearMapEmptiesThePage()
{
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    e.clickLine(Night, 2);
    e.page->clearMap();
    QVERIFY(e.groupsHidden());
    QVERIFY(e.noticeSeen());
    QCOMPARE(e.tables, EncounterTables{});
    for (int time = Morning; time <= Night; ++time)
        QCOMPARE(e.lines(time), QStringList(7, QString()));
    Editor::type(e.number(Night), QStringLiteral("50"));
    QCOMPARE(e.tables, EncounterTables{});
}

void TestWildCrittersPage::randomizeAfterStartGivesTheKnownMorningTable()
{
    for (int run = 0; run < 2; ++run) {  // a fresh page is a fresh run
        Editor e;
        e.pick(QStringLiteral("Route 1"));
        const QByteArray image = e.core->rom.bytes();
        e.clickRandomize();
        QCOMPARE(e.allLines(), FirstClick);
        QCOMPARE(e.tables.morning()[0], (EncounterSlot{61, 51}));
        QCOMPARE(e.tables.night()[6], (EncounterSlot{55, 163}));
        for (int time = Morning; time <= Night; ++time)
            QCOMPARE(e.box(time)->currentRow(), 6);
        QCOMPARE(e.prompts.pauses, std::vector<int>(21, 150));
        QVERIFY(e.prompts.shown.empty());
        // The value controls keep what they showed; the image waits for Save Rom.
        QCOMPARE(e.number(Morning)->value(), 1);
        QCOMPARE(e.level(Night)->value(), 1);
        QCOMPARE(e.core->rom.bytes(), image);
    }
}

void TestWildCrittersPage::secondClickContinuesTheSequence()
{
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    e.clickRandomize();
    e.pick(QStringLiteral("Route 2"));
    e.clickRandomize();
    QCOMPARE(e.allLines(), SecondClick);
    QCOMPARE(e.tables.night()[6], (EncounterSlot{20, 39}));
}

void TestWildCrittersPage::equalBoundsAreAccepted_data()
{
    QTest::addColumn<int>("minNumber");
    QTest::addColumn<int>("maxNumber");
    QTest::addColumn<int>("minLevel");
    QTest::addColumn<int>("maxLevel");
    QTest::newRow("numbers equal") << 5 << 5 << 20 << 70;
    QTest::newRow("levels equal") << 1 << 250 << 33 << 33;
    QTest::newRow("both at the top") << 255 << 255 << 255 << 255;
    QTest::newRow("both at the bottom") << 1 << 1 << 1 << 1;
}

void TestWildCrittersPage::equalBoundsAreAccepted()
{
    QFETCH(int, minNumber);
    QFETCH(int, maxNumber);
    QFETCH(int, minLevel);
    QFETCH(int, maxLevel);
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    e.setRanges(minNumber, maxNumber, minLevel, maxLevel);
    e.clickRandomize();
    QVERIFY(e.prompts.shown.empty());
    for (int time = Morning; time <= Night; ++time) {
        for (int k = 0; k < SlotsPerTime; ++k) {
            const EncounterSlot s = e.tables.slotAt(time, k);
            QVERIFY(s.number >= minNumber && s.number <= maxNumber);
            QVERIFY(s.level >= minLevel && s.level <= maxLevel);
        }
    }
}

void TestWildCrittersPage::refusedClickChangesNothing_data()
{
    QTest::addColumn<int>("minNumber");
    QTest::addColumn<int>("maxNumber");
    QTest::addColumn<int>("minLevel");
    QTest::addColumn<int>("maxLevel");
    QTest::newRow("numbers reversed") << 10 << 9 << 20 << 70;
    QTest::newRow("levels reversed") << 1 << 250 << 71 << 70;
    QTest::newRow("both reversed") << 255 << 1 << 255 << 1;
}

void TestWildCrittersPage::refusedClickChangesNothing()
{
    QFETCH(int, minNumber);
    QFETCH(int, maxNumber);
    QFETCH(int, minLevel);
    QFETCH(int, maxLevel);
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    e.clickLine(Day, 2);
    const EncounterTables tables = e.tables;
    const QStringList lines = e.allLines();
    e.setRanges(minNumber, maxNumber, minLevel, maxLevel);
    e.clickRandomize();
    QCOMPARE(e.prompts.texts(), QStringList{QStringLiteral("Huh? Min value needs to be smaller than max value.")});
    QCOMPARE(e.prompts.shown[0].kind, Prompts::Kind::Plain);
    QCOMPARE(e.prompts.shown[0].buttons, Prompts::Buttons::Ok);
    QVERIFY(e.prompts.pauses.empty());
    QCOMPARE(e.tables, tables);
    QCOMPARE(e.allLines(), lines);
    QCOMPARE(e.box(Day)->currentRow(), 2);
    QCOMPARE(e.box(Morning)->currentRow(), -1);

    // The generator has not moved: the first accepted click gives the first table.
    e.setRanges(1, 250, 20, 70);
    e.clickRandomize();
    QCOMPARE(e.tables.morning()[0], (EncounterSlot{61, 51}));
    QCOMPARE(e.tables.morning()[6], (EncounterSlot{21, 230}));
}

void TestWildCrittersPage::linesFillOneByOne()
{
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    const QStringList before = e.allLines();
    PaintCounter painted[TimesOfDay];
    for (int time = Morning; time <= Night; ++time)
        e.box(time)->viewport()->installEventFilter(&painted[time]);
    int lastPaints[TimesOfDay];
    for (int time = Morning; time <= Night; ++time)
        lastPaints[time] = painted[time].count;

    // A short pause: the lists paint between slots, in the event loop.
    e.prompts.pauseLength = 20;
    int step = 0;
    QStringList failures;
    e.prompts.onPause = [&] {
        const int time = step / SlotsPerTime;
        // The line drawn before this one has been painted since.
        const int previous = (step - 1) / SlotsPerTime;
        if (step > 0 && painted[previous].count <= lastPaints[previous])
            failures << QStringLiteral("pause %1: list not painted").arg(step);
        const int k = step % SlotsPerTime;
        const QStringList now = e.allLines();
        for (int i = 0; i < now.size(); ++i) {
            const QString expected = i <= step ? FirstClick[i] : before[i];
            if (now[i] != expected)
                failures << QStringLiteral("pause %1: line %2 reads \"%3\"").arg(step).arg(i).arg(now[i]);
        }
        if (e.box(time)->currentRow() != k)
            failures << QStringLiteral("pause %1: line %2 not selected").arg(step).arg(k);
        lastPaints[time] = painted[time].count;
        ++step;
    };
    e.clickRandomize();
    QCOMPARE(step, 21);
    QCOMPARE(failures, QStringList{});
}

void TestWildCrittersPage::rangesAreReadForEverySlot()
{
    Editor e;
    e.pick(QStringLiteral("Route 1"));
    int step = 0;
    e.prompts.onPause = [&] {
        if (step++ == 9)
            e.setRanges(7, 7, 99, 99);
    };
    e.clickRandomize();
    QCOMPARE(e.lines(Morning), FirstClick.mid(0, SlotsPerTime));
    for (int slot = 10; slot < 21; ++slot)
        QCOMPARE(e.tables.slotAt(slot / 7, slot % 7), (EncounterSlot{99, 7}));
    QVERIFY(e.tables.day()[2].level <= 70);
}

QTEST_MAIN(TestWildCrittersPage)
#include "tst_encounters_page.moc"
