#include "base/ini_file.h"
#include "model/events/event_block.h"
#include "ui/events/event_builder.h"
#include "model/events/event_tables.h"
#include "support/low_disk_space.h"
#include "ui_support/events_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {

// Hall: 3 warps at 0x101, 2 signposts at 0x111 and 4 people at 0x11C, the
// count byte before each table; the rest of the image is a pattern.
QByteArray hallIni(const QByteArray& warpOffset = "$101", const QByteArray& peopleOffset = "$11C")
{
    return "[Hall]\r\n; tables of the hall\r\nWarps=3\r\nWarp offset=" + warpOffset
        + "\r\nSingposts=2\r\nSingpost offset=$111\r\nPeoples=4\r\nPeople offset=" + peopleOffset
        + "\r\n[Other]\r\nWarps=1\r\n";
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(quint8(v)));
    return b;
}

const QString NotEnough = QStringLiteral(
    "There isn't enough bytes available. This may cause a bug in other map. However, if this is last map in map "
    "bank you can add there almost unlimited number of events. Are you sure that you want to continue?");
const QString Confirm = QStringLiteral(
    "Event locations will change. \"Events.ini\" need be modifed so Kartola can edit these events but, after this "
    "you can't edit events of this map in orginal rom. When you want to edit these events in orginal rom you can "
    "restore \"Events.ini\" from orginal Kartola zip. Is this ok?");

struct Hall : EventsFixture {
    explicit Hall(const QByteArray& ini = hallIni(), qsizetype romSize = 0x200)
        : EventsFixture(ini, TestDir::patternRom(romSize), QStringLiteral("Hall"))
    {
        builder = editor->EventBuilder;
        editor->BuildEvents1Click();
    }
    void rebuild() { QTest::mouseClick(builder->Button1, Qt::LeftButton); }
    IniFile& ini() { return core->catalogue.EventsIni; }
    TEventBuilder* builder = nullptr;
};

} // namespace

class TestEventBuilder : public QObject {
    Q_OBJECT
private slots:
    void blockLayout_data();
    void blockLayout();
    void budgetShownAndAsked();
    void moreBytesAskTheWarningFirst();
    void answeringNoWritesNothing_data();
    void answeringNoWritesNothing();
    void rebuildWritesTheBlockAndTheCatalogue();
    void rebuildWithoutWarps();
    void refusedRebuilds_data();
    void refusedRebuilds();
    void catalogueWriteFailureLeavesTheImage();
    void catalogueWrittenInOneReplacement();
};

void TestEventBuilder::blockLayout_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("s");
    QTest::addColumn<int>("p");
    QTest::addColumn<QByteArray>("block");
    QTest::newRow("one of each") << 1 << 1 << 1
        << bytes({1, 0, 0, 1, 0x18, 5, 0, 1, 0, 1, 0, 0xC8, 0x40, 1,
                  0x29, 4, 6, 3, 1, 255, 255, 0, 0, 0x6F, 0x40, 255, 255});
    QTest::newRow("no warps") << 0 << 2 << 0
        << bytes({0, 0, 2, 0, 1, 0, 0xC8, 0x40, 1, 1, 0, 0xC8, 0x40, 0});
    QTest::newRow("two warps, two people") << 2 << 0 << 2
        << bytes({2, 0, 0, 1, 0x18, 5, 1, 0, 1, 0x18, 5, 0, 0, 2,
                  0x29, 4, 6, 3, 1, 255, 255, 0, 0, 0x6F, 0x40, 255, 255,
                  0x29, 5, 6, 3, 1, 255, 255, 0, 0, 0x6F, 0x40, 255, 255});
    QTest::newRow("nothing") << 0 << 0 << 0 << bytes({0, 0, 0, 0});
}

void TestEventBuilder::blockLayout()
{
    QFETCH(int, w);
    QFETCH(int, s);
    QFETCH(int, p);
    QFETCH(QByteArray, block);
    QCOMPARE(eventBlock(w, s, p), block);
    QCOMPARE(qint64(block.size()), eventBytesNeeded(w, s, p) + 4);
    const EventBlockOffsets o = eventBlockOffsets(1000, w, s);
    QCOMPARE(o.warp, 1000);
    QCOMPARE(o.singpost, 1000 + 5 * w + 2);
    QCOMPARE(o.people, 1000 + 5 * w + 5 * s + 3);
    // The last of 255 warps stands in row 254.
    QCOMPARE(int(quint8(eventBlock(255, 0, 0).at(1 + 254 * 5))), 254);
}

void TestEventBuilder::budgetShownAndAsked()
{
    Hall f;
    QVERIFY(f.builder->isVisible());
    QCOMPARE(f.builder->windowTitle(), QStringLiteral("Build Events"));
    QCOMPARE(f.builder->findChild<QSpinBox*>(QStringLiteral("WarpNum"))->value(), 3);
    QCOMPARE(f.builder->findChild<QSpinBox*>(QStringLiteral("SingNum"))->value(), 2);
    QCOMPARE(f.builder->findChild<QSpinBox*>(QStringLiteral("PeopNum"))->value(), 4);
    QCOMPARE(f.builder->findChild<QLabel*>(QStringLiteral("Avail"))->text(), QStringLiteral("Bytes Available: 77"));
    QCOMPARE(f.builder->findChild<QLabel*>(QStringLiteral("Need"))->text(), QStringLiteral("Bytes Needed: 77"));
    QCOMPARE(f.builder->findChild<QPushButton*>(QStringLiteral("Button1"))->text(), QStringLiteral("Re-Build Events"));
    f.rebuild();
    QCOMPARE(f.prompts.texts(), (QStringList{Confirm, QStringLiteral("Done!")}));
    QCOMPARE(f.prompts.shown[0].kind, Prompts::Kind::Confirmation);
    QCOMPARE(f.prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    QCOMPARE(f.prompts.shown[1].kind, Prompts::Kind::Information);
    QVERIFY(!f.builder->isVisible());
}

void TestEventBuilder::moreBytesAskTheWarningFirst()
{
    Hall f;
    QTest::keyClick(f.builder->PeopNum, Qt::Key_Up);
    QCOMPARE(f.builder->Need->text(), QStringLiteral("Bytes Needed: 90"));
    QCOMPARE(f.builder->Avail->text(), QStringLiteral("Bytes Available: 77"));
    // Lowering another count follows at once.
    QTest::keyClick(f.builder->WarpNum, Qt::Key_Down);
    QCOMPARE(f.builder->Need->text(), QStringLiteral("Bytes Needed: 85"));
    f.rebuild();
    QCOMPARE(f.prompts.texts(), (QStringList{NotEnough, Confirm, QStringLiteral("Done!")}));
    QCOMPARE(f.prompts.shown[0].kind, Prompts::Kind::Warning);
    QCOMPARE(f.state.PeopleCount, 5);
    QCOMPARE(f.state.WarpCount, 2);
}

void TestEventBuilder::answeringNoWritesNothing_data()
{
    QTest::addColumn<bool>("warning");
    QTest::newRow("no to the warning") << true;
    QTest::newRow("no to the confirmation") << false;
}

void TestEventBuilder::answeringNoWritesNothing()
{
    QFETCH(bool, warning);
    Hall f;
    const QByteArray rom = f.core->rom.bytes();
    const QByteArray ini = f.dir.read(QStringLiteral("Events.ini"));
    if (warning) {
        f.builder->PeopNum->setValue(9);
        f.prompts.answer(Prompts::Answer::No);
    } else {
        f.builder->PeopNum->setValue(1);
        f.prompts.answer(Prompts::Answer::No);
    }
    f.rebuild();
    QCOMPARE(f.prompts.shown.size(), size_t(1));
    QCOMPARE(f.prompts.lastText(), warning ? NotEnough : Confirm);
    QCOMPARE(f.core->rom.bytes(), rom);
    QCOMPARE(f.dir.read(QStringLiteral("Events.ini")), ini);
    QVERIFY(f.builder->isVisible());
    QCOMPARE(f.state.PeopleCount, 4);
}

void TestEventBuilder::rebuildWritesTheBlockAndTheCatalogue()
{
    Hall f;
    const QByteArray before = f.core->rom.bytes();
    // Unsaved edits are dropped by the rebuild.
    setEventByte(f.state, {1, TEventData::Warp}, 2, 99);
    f.builder->WarpNum->setValue(2);
    f.builder->SingNum->setValue(1);
    f.builder->PeopNum->setValue(2);
    f.rebuild();
    const QByteArray block = eventBlock(2, 1, 2);
    QCOMPARE(f.core->rom.bytes().mid(0x100, block.size()), block);
    // Everything outside the block stays as it was, old table bytes included.
    QCOMPARE(f.core->rom.bytes().left(0x100), before.left(0x100));
    QCOMPARE(f.core->rom.bytes().mid(0x100 + block.size()), before.mid(0x100 + block.size()));
    QCOMPARE(f.core->rom.size(), before.size());

    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("Warps")), 2);
    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("Warp offset")), 0x101);
    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("Singposts")), 1);
    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("Singpost offset")), 0x101 + 12);
    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("Peoples")), 2);
    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("People offset")), 0x101 + 18);
    const QByteArray ini = f.dir.read(QStringLiteral("Events.ini"));
    QVERIFY(ini.contains("Singpost offset=269\r\n"));   // decimal
    QVERIFY(ini.contains("; tables of the hall\r\n"));
    QVERIFY(ini.contains("[Other]\r\nWarps=1\r\n"));

    // The map's events were read again: the new events stand in the top-left corner.
    QCOMPARE(f.state.WarpCount, 2);
    QCOMPARE(f.state.SingpostOffset, 0x10D);
    QCOMPARE(int(f.state.WarpTable[1].WarpTo), 1);
    QCOMPARE(GetEventData(f.state, 0, 1), (TEventData{2, TEventData::Warp}));
    QCOMPARE(GetEventData(f.state, 1, 0), (TEventData{1, TEventData::Singpost}));
    QCOMPARE(GetEventData(f.state, 2, 1), (TEventData{2, TEventData::People}));
    QCOMPARE(f.prompts.lastText(), QStringLiteral("Done!"));

    // A save afterwards writes the very same bytes.
    const QByteArray rebuilt = f.core->rom.bytes();
    f.session.writeWorkingCopies();
    QCOMPARE(f.core->rom.bytes(), rebuilt);
}

void TestEventBuilder::rebuildWithoutWarps()
{
    Hall f;
    f.builder->WarpNum->setValue(0);
    f.rebuild();
    QCOMPARE(f.core->rom.bytes().mid(0x100, 4), bytes({0, 0, 2, 0}));
    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("Warps"), -1), 0);
    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("Warp offset")), 0x101);
    QCOMPARE(f.ini().readInteger(QStringLiteral("Hall"), QStringLiteral("Singpost offset")), 0x103);
    QCOMPARE(f.state.WarpCount, 0);
    QVERIFY(f.BuildEvents1.isEnabled());
}

void TestEventBuilder::refusedRebuilds_data()
{
    QTest::addColumn<QByteArray>("warpOffset");
    QTest::addColumn<QByteArray>("peopleOffset");
    QTest::addColumn<int>("people");
    QTest::addColumn<QString>("part");
    QTest::newRow("people offset 0") << QByteArray("$101") << QByteArray("0") << 4 << QStringLiteral("above 0");
    QTest::newRow("negative warp offset") << QByteArray("-1") << QByteArray("$11C") << 4 << QStringLiteral("above 0");
    QTest::newRow("past the end") << QByteArray("$101") << QByteArray("$11C") << 30 << QStringLiteral("end");
}

void TestEventBuilder::refusedRebuilds()
{
    QFETCH(QByteArray, warpOffset);
    QFETCH(QByteArray, peopleOffset);
    QFETCH(int, people);
    QFETCH(QString, part);
    Hall f(hallIni(warpOffset, peopleOffset), 0x200);
    f.prompts.shown.clear();
    const QByteArray rom = f.core->rom.bytes();
    const QByteArray ini = f.dir.read(QStringLiteral("Events.ini"));
    f.builder->show();   // the window may still be open from another map
    f.builder->PeopNum->setValue(people);
    f.rebuild();
    QCOMPARE(f.prompts.shown.size(), size_t(1));
    QCOMPARE(f.prompts.shown[0].kind, Prompts::Kind::Error);
    QVERIFY2(f.prompts.lastText().contains(part), qPrintable(f.prompts.lastText()));
    QCOMPARE(f.core->rom.bytes(), rom);
    QCOMPARE(f.dir.read(QStringLiteral("Events.ini")), ini);
}

void TestEventBuilder::catalogueWriteFailureLeavesTheImage()
{
    TestDir dir;
    IniFile ini(dir.file(QStringLiteral("missing/folder/Events.ini")));
    RomImage rom;
    rom.setBytes(TestDir::patternRom(0x200));
    EventState s;
    s.WarpOffset = 0x101;
    s.SingpostOffset = 0x111;
    s.PeopleOffset = 0x11C;
    const QString error = rebuildEventTables(ini, QStringLiteral("Hall"), rom, s, 1, 1, 1);
    QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(ini.path()));
    QCOMPARE(rom.bytes(), TestDir::patternRom(0x200));
    // A block that fits exactly up to the last byte is written.
    rom.setBytes(QByteArray(0x101 + 3 + 5 + 5 + 13, '\0'));
    IniFile good(dir.file(QStringLiteral("Events.ini")));
    QCOMPARE(rebuildEventTables(good, QStringLiteral("Hall"), rom, s, 1, 1, 1), QString());
    QCOMPARE(rom.bytes().mid(0x100), eventBlock(1, 1, 1));
    QVERIFY(!rebuildEventTables(good, QStringLiteral("Hall"), rom, s, 1, 1, 2).isEmpty());
}

void TestEventBuilder::catalogueWrittenInOneReplacement()
{
    TestDir dir;
    dir.write("Events.ini", hallIni());
    IniFile ini(dir.file(QStringLiteral("Events.ini")));
    RomImage rom;
    rom.setBytes(TestDir::patternRom(0x200));
    EventState s;
    s.WarpOffset = 0x101;
    s.SingpostOffset = 0x111;
    s.PeopleOffset = 0x11C;
    const QByteArray after = "[Hall]\r\n; tables of the hall\r\nWarps=2\r\nWarp offset=257\r\nSingposts=1"
                             "\r\nSingpost offset=269\r\nPeoples=1\r\nPeople offset=275\r\n[Other]\r\nWarps=1\r\n";
    // Room for one file of the new size, and not a byte more: six writes in a row would not fit.
    {
        const LowDiskSpace room(after.size());
        QCOMPARE(rebuildEventTables(ini, QStringLiteral("Hall"), rom, s, 2, 1, 1), QString());
        QCOMPARE(room.freeBytes(), qint64(0));
    }
    QCOMPARE(dir.read("Events.ini"), after);
    QCOMPARE(rom.bytes().mid(0x100, eventBlock(2, 1, 1).size()), eventBlock(2, 1, 1));
}

QTEST_MAIN(TestEventBuilder)
#include "tst_events_builder.moc"
