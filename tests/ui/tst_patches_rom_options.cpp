#include "session/editor_core.h"
#include "model/patches/option_patch.h"
#include "session/editor_session.h"
#include "ui/patches/rom_options_form.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QtTest>

#include <memory>

namespace {

constexpr qsizetype RomSize = 0x400;

// A small program directory with Options.ini (absent when `ini` is null) and
// a loaded ROM image whose file on disk holds the same bytes.
struct Fixture {
    explicit Fixture(const QByteArray& ini, const QByteArray& rom = TestDir::patternRom(RomSize))
    {
        if (!ini.isNull())
            dir.write("Options.ini", ini);
        dir.write("game.gbc", rom);
        state = std::make_unique<EditorState>(dir.path());
        core = &state->core;
        session = std::make_unique<EditorSession>(*state, prompts);
        if (!session->loadRom(dir.file("game.gbc")).isDone())
            qFatal("cannot load the test image");
        form = std::make_unique<TRomOptionsForm>(*session);
    }

    QListWidget* list() const { return form->findChild<QListWidget*>("CheckListBox1"); }
    QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(name); }
    int count() const { return list()->count(); }
    bool ticked(int row) const { return list()->item(row)->checkState() == Qt::Checked; }
    bool enabled(int row) const { return list()->item(row)->flags() & Qt::ItemIsEnabled; }
    int byte(qint64 offset) const { return core->rom.byteAt(offset); }
    QByteArray onDisk() const { return dir.read("game.gbc"); }

    // Toggles a line the way a user does it from the keyboard.
    void pressSpaceOn(int row)
    {
        list()->setCurrentRow(row);
        QTest::keyClick(list()->viewport(), Qt::Key_Space);
    }
    // Toggles a line by clicking its tick box.
    void clickTickBox(int row)
    {
        QListWidget* l = list();
        QStyleOptionViewItem option;
        option.initFrom(l->viewport());
        option.rect = l->visualItemRect(l->item(row));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = l->item(row)->text();
        option.widget = l;
        const QRect box = l->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, l);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, box.center());
    }
    void clickSave() { QTest::mouseClick(button("SaveButton"), Qt::LeftButton); }
    void clickSelectNone() { QTest::mouseClick(button("SelectNoneButton"), Qt::LeftButton); }

    TestDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<EditorState> state;
    EditorCore* core = nullptr;
    std::unique_ptr<EditorSession> session;
    std::unique_ptr<TRomOptionsForm> form;
};

QByteArray option(const QByteArray& name, const QByteArray& offset, const QByteArray& changed, const QByteArray& def)
{
    QByteArray text = "[" + name + "]\r\n";
    if (!offset.isNull())
        text += "Offset=" + offset + "\r\n";
    if (!changed.isNull())
        text += "Changed value=" + changed + "\r\n";
    if (!def.isNull())
        text += "Default value=" + def + "\r\n";
    return text;
}

QByteArray withByte(QByteArray bytes, qint64 offset, int value)
{
    bytes[offset] = char(value);
    return bytes;
}

} // namespace

class TestPatchesRomOptions : public QObject {
    Q_OBJECT
private slots:
    void listsSectionsInFileOrder()
    {
        Fixture f(option("Zeta patch", "10", "1", "0") + "; a comment\r\n"
                  + option("alpha", "11", "1", "0") + option("Middle one", "12", "1", "0")
                  + option("alpha", "13", "1", "0"));
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Rom Options"));
        QCOMPARE(f.button("SaveButton")->text(), QStringLiteral("Save"));
        QCOMPARE(f.button("SelectNoneButton")->text(), QStringLiteral("Select None"));
        QStringList texts;
        for (int i = 0; i < f.count(); ++i) {
            texts << f.list()->item(i)->text();
            QVERIFY(f.list()->item(i)->flags() & Qt::ItemIsUserCheckable);
        }
        QCOMPARE(texts, (QStringList{"Zeta patch", "alpha", "Middle one", "alpha"}));
        QVERIFY(!f.form->isVisible());
    }

    // How the ROM byte and the two values decide the tick, and what Save writes.
    void tickAndSavedByte_data()
    {
        QTest::addColumn<int>("romByte");
        QTest::addColumn<QByteArray>("changed");
        QTest::addColumn<QByteArray>("def");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("userToggles");
        QTest::addColumn<int>("saved");
        QTest::newRow("on stays on") << 7 << QByteArray("7") << QByteArray("3") << true << false << 7;
        QTest::newRow("off stays off") << 3 << QByteArray("7") << QByteArray("3") << false << false << 3;
        QTest::newRow("neither becomes default") << 9 << QByteArray("7") << QByteArray("3") << false << false << 3;
        QTest::newRow("user switches on") << 3 << QByteArray("7") << QByteArray("3") << false << true << 7;
        QTest::newRow("user switches off") << 7 << QByteArray("7") << QByteArray("3") << true << true << 3;
        QTest::newRow("changed above 255 never on") << 0x2A << QByteArray("298") << QByteArray("1") << false << false << 1;
        QTest::newRow("changed above 255 writes low byte") << 0x2A << QByteArray("$12A") << QByteArray("1") << false << true << 0x2A;
        QTest::newRow("hexadecimal values") << 0xFF << QByteArray("$FF") << QByteArray("0x10") << true << true << 0x10;
        QTest::newRow("negative default writes low byte") << 7 << QByteArray("7") << QByteArray("-2") << true << true << 0xFE;
        QTest::newRow("missing values read as 0, on") << 0 << QByteArray() << QByteArray() << true << false << 0;
        QTest::newRow("missing values read as 0, off") << 5 << QByteArray() << QByteArray() << false << false << 0;
        QTest::newRow("value not a number reads as 0") << 0 << QByteArray("seven") << QByteArray("3") << true << false << 0;
    }
    void tickAndSavedByte()
    {
        QFETCH(int, romByte);
        QFETCH(QByteArray, changed);
        QFETCH(QByteArray, def);
        QFETCH(bool, ticked);
        QFETCH(bool, userToggles);
        QFETCH(int, saved);
        const QByteArray original = withByte(TestDir::patternRom(RomSize), 0x120, romByte);
        Fixture f(option("Option", "$120", changed, def), original);
        f.form->RomOptions1Click();
        QCOMPARE(f.count(), 1);
        QVERIFY(f.enabled(0));
        QCOMPARE(f.ticked(0), ticked);
        if (userToggles) {
            f.pressSpaceOn(0);
            QCOMPARE(f.ticked(0), !ticked);
        }
        f.clickSave();
        const QByteArray expected = withByte(original, 0x120, saved);
        QCOMPARE(f.core->rom.bytes(), expected);
        QCOMPARE(f.onDisk(), expected);
        QVERIFY(f.prompts.shown.empty());
        QVERIFY(f.form->isVisible());
        // Undo gives the image its byte back (the file keeps what was written)
        // and the open window shows it.
        if (saved != romByte) {
            f.session->undoStack().undo();
            QCOMPARE(f.byte(0x120), romByte);
            QCOMPARE(f.ticked(0), ticked);
            QCOMPARE(f.onDisk(), expected);
        }
    }

    void offsetSyntax_data()
    {
        QTest::addColumn<QByteArray>("offset");
        QTest::addColumn<int>("address");
        QTest::newRow("0x1F") << QByteArray("0x1F") << 31;
        QTest::newRow("0X1f") << QByteArray("0X1f") << 31;
        QTest::newRow("$1F") << QByteArray("$1F") << 31;
        QTest::newRow("31") << QByteArray("31") << 31;
        QTest::newRow("blanks around") << QByteArray("  31 ") << 31;
        QTest::newRow("first byte") << QByteArray("0") << 0;
        QTest::newRow("last byte") << QByteArray("$3FF") << 0x3FF;
    }
    void offsetSyntax()
    {
        QFETCH(QByteArray, offset);
        QFETCH(int, address);
        const QByteArray original = withByte(TestDir::patternRom(RomSize), address, 0x55);
        Fixture f(option("Option", offset, "$55", "$AA"), original);
        f.form->RomOptions1Click();
        QVERIFY(f.enabled(0));
        QVERIFY(f.ticked(0));
        f.clickTickBox(0);
        QVERIFY(!f.ticked(0));
        f.clickSave();
        QCOMPARE(f.core->rom.bytes(), withByte(original, address, 0xAA));
    }

    void sharedOffsetLaterLineWins()
    {
        const QByteArray original = withByte(TestDir::patternRom(RomSize), 100, 5);
        Fixture f(option("First", "100", "5", "1") + option("Second", "$64", "9", "2"), original);
        f.form->RomOptions1Click();
        QVERIFY(f.ticked(0));
        QVERIFY(!f.ticked(1));
        f.clickSave();
        QCOMPARE(f.byte(100), 2);

        f.form->RomOptions1Click();
        QVERIFY(!f.ticked(0));
        QVERIFY(!f.ticked(1));
        f.pressSpaceOn(1);
        f.clickSave();
        QCOMPARE(f.byte(100), 9);
        QCOMPARE(f.core->rom.bytes(), withByte(original, 100, 9));
    }

    void selectNoneThenSave()
    {
        QByteArray original = TestDir::patternRom(RomSize);
        original[10] = char(1);
        original[20] = char(0x42);
        original[30] = char(200);
        Fixture f(option("A", "10", "1", "0") + option("B", "20", "$42", "$40") + option("C", "30", "200", "100"),
                  original);
        f.form->RomOptions1Click();
        for (int i = 0; i < 3; ++i)
            QVERIFY(f.ticked(i));
        f.clickSelectNone();
        for (int i = 0; i < 3; ++i)
            QVERIFY(!f.ticked(i));
        QCOMPARE(f.core->rom.bytes(), original);   // Select None writes nothing
        f.clickSave();
        QByteArray expected = original;
        expected[10] = char(0);
        expected[20] = char(0x40);
        expected[30] = char(100);
        QCOMPARE(f.core->rom.bytes(), expected);
        QCOMPARE(f.onDisk(), expected);
    }

    // No options: Save changes no byte but still writes the whole image,
    // including edits made to it since it was loaded.
    void noOptionsStillSaves_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("comments only") << QByteArray("; nothing here\r\nOffset=5\r\n");
    }
    void noOptionsStillSaves()
    {
        QFETCH(QByteArray, ini);
        Fixture f(ini);
        QCOMPARE(f.count(), 0);
        QByteArray pending = f.core->rom.bytes();
        pending[0x33] = char(0xEE);
        f.core->rom.setBytes(pending);
        f.form->RomOptions1Click();
        f.clickSave();
        QCOMPARE(f.core->rom.bytes(), pending);
        QCOMPARE(f.onDisk(), pending);
        QVERIFY(f.prompts.shown.empty());
    }

    // An option without a byte inside the image is listed, disabled, never
    // ticked and never written; the image keeps its size.
    void optionWithoutByteIsDisabled_data()
    {
        QTest::addColumn<QByteArray>("offset");
        QTest::newRow("no Offset key") << QByteArray();
        QTest::newRow("Offset empty") << QByteArray("");
        QTest::newRow("Offset not a number") << QByteArray("start");
        QTest::newRow("Offset 0x alone") << QByteArray("0x");
        QTest::newRow("just past the end") << QByteArray("1024");
        QTest::newRow("far past the end") << QByteArray("$7FFFFFFF");
        QTest::newRow("negative") << QByteArray("-1");
    }
    void optionWithoutByteIsDisabled()
    {
        QFETCH(QByteArray, offset);
        // Byte 0 equals the changed value, so addressing it by mistake would tick the line.
        const QByteArray original = withByte(withByte(TestDir::patternRom(RomSize), 0, 0x11), 40, 0x22);
        Fixture f(option("Broken", offset, "$11", "$99") + option("Fine", "40", "$22", "$33"), original);
        f.form->RomOptions1Click();
        QCOMPARE(f.count(), 2);
        QVERIFY(!f.enabled(0));
        QVERIFY(!f.ticked(0));
        QVERIFY(f.enabled(1));
        QVERIFY(f.ticked(1));

        f.pressSpaceOn(0);
        f.clickTickBox(0);
        QVERIFY(!f.ticked(0));
        f.pressSpaceOn(1);
        f.clickSave();
        const QByteArray expected = withByte(original, 40, 0x33);
        QCOMPARE(f.core->rom.bytes(), expected);
        QCOMPARE(f.onDisk(), expected);

        const RomOption broken = readRomOption(f.core->catalogue.OptionsIni, "Broken");
        QVERIFY(!writeRomOption(f.core->rom, broken, true));
        QVERIFY(!writeRomOption(f.core->rom, broken, false));
        QCOMPARE(f.core->rom.bytes(), expected);
    }

    // A smaller image loaded later disables the lines it cannot hold, and a
    // line that became unusable after the ticks were read is not written.
    void imageChangedUnderTheDialog()
    {
        const QByteArray original = withByte(TestDir::patternRom(RomSize), 0x300, 1);
        Fixture f(option("High", "$300", "1", "0") + option("Low", "$10", "1", "0"), original);
        f.form->RomOptions1Click();
        QVERIFY(f.ticked(0));
        const QByteArray smaller = TestDir::patternRom(0x100);
        f.core->rom.setBytes(smaller);
        f.clickSave();
        QCOMPARE(f.core->rom.size(), qint64(0x100));
        QCOMPARE(f.core->rom.bytes(), withByte(smaller, 0x10, 0));
        f.form->RomOptions1Click();
        QVERIFY(!f.enabled(0));
        QVERIFY(f.enabled(1));

        // Back to the large image without re-reading: the disabled line, never
        // offered to the user, leaves its byte alone.
        f.core->rom.setBytes(original);
        f.clickSave();
        QCOMPARE(f.core->rom.bytes(), withByte(original, 0x10, 0));
    }

    void eachUseRereadsTicksAndKeys()
    {
        const QByteArray original = withByte(withByte(TestDir::patternRom(RomSize), 50, 4), 60, 8);
        Fixture f(option("Moving", "50", "4", "0"));
        f.core->rom.setBytes(original);
        f.form->RomOptions1Click();
        QVERIFY(f.ticked(0));
        f.pressSpaceOn(0);
        QVERIFY(!f.ticked(0));
        f.form->RomOptions1Click();   // unsaved ticks are dropped
        QVERIFY(f.ticked(0));
        QVERIFY(f.form->isVisible());
        QVERIFY(!f.form->isModal());

        // The list stays as it was at start-up; the keys are read afresh.
        f.dir.write("Options.ini", option("Moving", "60", "9", "7") + option("Added", "70", "1", "0"));
        f.form->LoadOptions();
        QCOMPARE(f.count(), 1);
        QVERIFY(!f.ticked(0));
        f.clickSave();
        QCOMPARE(f.core->rom.bytes(), withByte(original, 60, 7));
    }

    void failedSaveIsReported()
    {
        const QByteArray original = withByte(TestDir::patternRom(RomSize), 12, 3);
        Fixture f(option("Option", "12", "3", "4"), original);
        f.core->RomFileName = f.dir.file("no such folder/game.gbc");
        f.form->RomOptions1Click();
        f.pressSpaceOn(0);
        f.clickSave();
        QCOMPARE(f.prompts.texts(), QStringList{"Cannot create file " + f.core->RomFileName});
        QCOMPARE(f.core->rom.bytes(), withByte(original, 12, 4));
        QCOMPARE(f.onDisk(), original);
    }

    void saveWithoutLoadedImageIsRefused()
    {
        Fixture f(option("Option", "12", "3", "4"));
        const QByteArray before = f.core->rom.bytes();
        f.core->RomFileName.clear();
        f.clickSave();
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QCOMPARE(f.core->rom.bytes(), before);
    }
};

QTEST_MAIN(TestPatchesRomOptions)
#include "tst_patches_rom_options.moc"
