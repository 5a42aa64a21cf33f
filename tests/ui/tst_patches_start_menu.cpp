#include "model/rom/rom_image.h"
#include "session/editor_session.h"
#include "ui/patches/start_menu_options.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "model/patches/start_menu_patch.h"
#include "support/test_files.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

namespace {

// An image that holds every start menu entry, each one shown (CD 67 6C).
QByteArray romWithAllShown(qsizetype size = 0x14000)
{
    QByteArray bytes = TestDir::patternRom(size);
    for (const StartMenuEntry& entry : StartMenuEntries) {
        bytes[entry.offset] = char(0xCD);
        bytes[entry.offset + 1] = char(0x67);
        bytes[entry.offset + 2] = char(0x6C);
    }
    return bytes;
}

QByteArray threeBytes(const RomImage& rom, qint64 offset)
{
    return rom.bytes().mid(offset, 3);
}

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result.append(char(v));
    return result;
}

// The image with the three bytes at `offset` replaced.
QByteArray withBytes(QByteArray bytes, qint64 offset, const QByteArray& three)
{
    bytes.replace(offset, three.size(), three);
    return bytes;
}

struct Fixture {
    TestDir dir;
    ScriptedPrompts prompts;
    EditorState state{dir.path()};
    EditorSession session{state, prompts};
    RomImage& rom = state.core.rom;
    QMenu menu;
    StartMenuOptions options{session, &menu};
};

} // namespace

class TestPatchesStartMenu : public QObject {
    Q_OBJECT
private slots:
    void itemsBeforeAnyLoad()
    {
        Fixture f;
        const QList<QAction*> actions = f.menu.actions();
        QCOMPARE(actions.size(), 8);
        const QStringList names{"ALMANAC1", "CRITTER1", "PACK1", "GADGET1", "PLAYER1", "SAVE1", "OPTION1", "EXIT2"};
        const QStringList captions{"ALMANAC", "CRITTER", "PACK", "GADGET", "PLAYER", "SAVE", "OPTION", "EXIT"};
        const QList<qlonglong> offsets{76800, 76811, 76829, 76841, 76846, 76866, 76871, 76876};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(actions[i]->objectName(), names[i]);
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->data().toLongLong(), offsets[i]);
            QVERIFY(actions[i]->isCheckable());
            QCOMPARE(actions[i]->isChecked(), names[i] == "OPTION1");
            QCOMPARE(f.menu.findChild<QAction*>(names[i]), actions[i]);
            QCOMPARE(f.options.items()[std::size_t(i)], actions[i]);
        }
        QCOMPARE(f.options.OPTION1, actions[6]);
    }

    void tickFollowsFirstByte_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QByteArray>("three");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("ALMANAC call") << 0 << bytesOf({0xCD, 0x67, 0x6C}) << true;
        QTest::newRow("CRITTER call elsewhere") << 1 << bytesOf({0xCD, 0x12, 0x34}) << true;
        QTest::newRow("PACK no-ops") << 2 << bytesOf({0x00, 0x00, 0x00}) << false;
        QTest::newRow("GADGET other opcode") << 3 << bytesOf({0xCC, 0x67, 0x6C}) << false;
        QTest::newRow("PLAYER address only") << 4 << bytesOf({0x00, 0x67, 0x6C}) << false;
        QTest::newRow("SAVE CE") << 5 << bytesOf({0xCE, 0x67, 0x6C}) << false;
        QTest::newRow("OPTION no-ops") << 6 << bytesOf({0x00, 0x00, 0x00}) << false;
        QTest::newRow("EXIT call") << 7 << bytesOf({0xCD, 0x00, 0x00}) << true;
    }
    void tickFollowsFirstByte()
    {
        QFETCH(int, item);
        QFETCH(QByteArray, three);
        QFETCH(bool, ticked);
        Fixture f;
        // Every other entry holds the opposite state, so a mix-up of offsets shows.
        QByteArray bytes = TestDir::patternRom(0x14000);
        for (const StartMenuEntry& entry : StartMenuEntries)
            bytes.replace(entry.offset, 3, ticked ? bytesOf({0, 0, 0}) : bytesOf({0xCD, 0x67, 0x6C}));
        f.rom.setBytes(withBytes(bytes, StartMenuEntries[std::size_t(item)].offset, three));
        f.options.LoadStartMenuOptions();
        for (int i = 0; i < 8; ++i) {
            QAction* action = f.options.items()[std::size_t(i)];
            QVERIFY(action->isEnabled());
            QCOMPARE(action->isChecked(), i == item ? ticked : !ticked);
        }
    }

    // The tick before the click decides what is written, whatever the bytes were.
    void clickRewritesEntry_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("tickedAfter");
        QTest::newRow("unticked no-ops shown") << 0 << bytesOf({0, 0, 0}) << bytesOf({0xCD, 0x67, 0x6C}) << true;
        QTest::newRow("unticked junk shown") << 2 << bytesOf({0x12, 0x34, 0x56}) << bytesOf({0xCD, 0x67, 0x6C}) << true;
        QTest::newRow("ticked call hidden") << 5 << bytesOf({0xCD, 0x67, 0x6C}) << bytesOf({0, 0, 0}) << false;
        QTest::newRow("ticked other call hidden") << 7 << bytesOf({0xCD, 0xAA, 0xBB}) << bytesOf({0, 0, 0}) << false;
    }
    void clickRewritesEntry()
    {
        QFETCH(int, item);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(bool, tickedAfter);
        Fixture f;
        const qint64 offset = StartMenuEntries[std::size_t(item)].offset;
        const QByteArray original = withBytes(romWithAllShown(), offset, before);
        f.rom.setBytes(original);
        f.options.LoadStartMenuOptions();

        f.options.items()[std::size_t(item)]->trigger();

        QCOMPARE(f.rom.bytes(), withBytes(original, offset, after));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(f.options.items()[std::size_t(i)]->isChecked(), i == item ? tickedAfter : true);
    }

    void twoClicksGiveBackTheCall()
    {
        Fixture f;
        const QByteArray original = romWithAllShown();
        f.rom.setBytes(original);
        f.options.LoadStartMenuOptions();
        f.options.PLAYER1->trigger();
        QCOMPARE(threeBytes(f.rom, StartMenuEntries[4].offset), bytesOf({0, 0, 0}));
        QVERIFY(!f.options.PLAYER1->isChecked());
        f.options.PLAYER1->trigger();
        QCOMPARE(f.rom.bytes(), original);
        QVERIFY(f.options.PLAYER1->isChecked());
    }

    // The real path: the menu pops up and the user clicks an item.
    void mouseClickOnMenuItem()
    {
        Fixture f;
        QByteArray bytes = romWithAllShown();
        bytes.replace(StartMenuEntries[1].offset, 3, bytesOf({0, 0, 0}));
        f.rom.setBytes(bytes);
        f.options.LoadStartMenuOptions();
        QVERIFY(!f.options.CRITTER1->isChecked());

        f.menu.popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&f.menu));
        QTest::mouseClick(&f.menu, Qt::LeftButton, {}, f.menu.actionGeometry(f.options.CRITTER1).center());

        QCOMPARE(threeBytes(f.rom, StartMenuEntries[1].offset), bytesOf({0xCD, 0x67, 0x6C}));
        QVERIFY(f.options.CRITTER1->isChecked());
    }

    // A click changes the image only: the file stays as it was until a save.
    void nothingOnDiskUntilSave()
    {
        TestDir dir;
        const QString path = dir.file("game.gbc");
        const QByteArray original = romWithAllShown();
        dir.write("game.gbc", original);
        Fixture f;
        QVERIFY(f.rom.loadFromFile(path));
        f.options.LoadStartMenuOptions();
        f.options.SAVE1->trigger();
        f.options.EXIT2->trigger();
        QCOMPARE(dir.read("game.gbc"), original);
        QVERIFY(f.rom.saveToFile(path));
        QCOMPARE(dir.read("game.gbc"), f.rom.bytes());
        QCOMPARE(threeBytes(f.rom, StartMenuEntries[5].offset), bytesOf({0, 0, 0}));
    }

    // Entries whose three bytes are not inside the image are disabled, unticked
    // and never written; the image never grows.
    void entriesOutsideTheImage_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<int>("firstOutside");
        QTest::newRow("empty image") << qsizetype(0) << 0;
        QTest::newRow("small image") << qsizetype(0x8000) << 0;
        QTest::newRow("EXIT cut after its CD") << qsizetype(0x12C4C + 2) << 7;
        QTest::newRow("OPTION and EXIT cut") << qsizetype(0x12C47 + 1) << 6;
        QTest::newRow("EXIT just fits") << qsizetype(0x12C4C + 3) << 8;
    }
    void entriesOutsideTheImage()
    {
        QFETCH(qsizetype, size);
        QFETCH(int, firstOutside);
        Fixture f;
        const QByteArray original = romWithAllShown().left(size);
        f.rom.setBytes(original);
        f.options.LoadStartMenuOptions();
        for (int i = 0; i < 8; ++i) {
            QAction* action = f.options.items()[std::size_t(i)];
            QCOMPARE(action->isEnabled(), i < firstOutside);
            QCOMPARE(action->isChecked(), i < firstOutside);
        }
        for (int i = firstOutside; i < 8; ++i) {
            QAction* action = f.options.items()[std::size_t(i)];
            action->trigger();
            f.options.ALMANAC1Click(action);
            QVERIFY(!setStartMenuEntry(f.rom, StartMenuEntries[std::size_t(i)].offset, true));
            QVERIFY(!action->isChecked());
        }
        QCOMPARE(f.rom.bytes(), original);
        QCOMPARE(f.rom.size(), qint64(size));
    }

    // Loading a smaller image after a larger one disables the entries it lacks;
    // loading the larger one again brings them back.
    void reloadRefreshesEnabledState()
    {
        Fixture f;
        f.rom.setBytes(romWithAllShown());
        f.options.LoadStartMenuOptions();
        f.rom.setBytes(QByteArray(0x100, '\0'));
        f.options.LoadStartMenuOptions();
        QVERIFY(!f.options.ALMANAC1->isEnabled());
        f.rom.setBytes(romWithAllShown());
        f.options.LoadStartMenuOptions();
        QVERIFY(f.options.ALMANAC1->isEnabled());
        QVERIFY(f.options.ALMANAC1->isChecked());
    }
};

QTEST_MAIN(TestPatchesStartMenu)
#include "tst_patches_start_menu.moc"
