// The Catalogue menu's dialogs: the live refusal and the offset keys of Map
// Properties, and OK as one undo entry that picks the map again.
#include "session/catalogue_folder.h"
#include "session/editor_session.h"
#include "session/user_settings.h"
#include "ui/main/catalogue_menu.h"
#include "ui/main/map_properties_dialog.h"
#include "ui_support/editor_fixture.h"

#include <QComboBox>
#include <QInputDialog>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

class TestCatalogueMenu : public QObject {
    Q_OBJECT
private slots:
    void offsetKeys_data();
    void offsetKeys();
    void refusalShownInline();
    void okIsOneUndoEntry();
    void removeMapLeavesTheChooser();
    void folderTravelsWithRom_data();
    void folderTravelsWithRom();
    void unwritableFolderOfferedACopy_data();
    void unwritableFolderOfferedACopy();
};

void TestCatalogueMenu::offsetKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("step"); // Alpha Town is 10 x 9
    QTest::newRow("Alt+Right a byte") << int(Qt::Key_Right) << int(Qt::AltModifier) << 1;
    QTest::newRow("Alt+Left a byte back") << int(Qt::Key_Left) << int(Qt::AltModifier) << -1;
    QTest::newRow("Alt+Down a row") << int(Qt::Key_Down) << int(Qt::AltModifier) << 10;
    QTest::newRow("Alt+Up a row back") << int(Qt::Key_Up) << int(Qt::AltModifier) << -10;
    QTest::newRow("PageDown a map") << int(Qt::Key_PageDown) << int(Qt::NoModifier) << 90;
    QTest::newRow("PageUp a map back") << int(Qt::Key_PageUp) << int(Qt::NoModifier) << -90;
}

void TestCatalogueMenu::offsetKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, step);
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    MapFields alpha = CatalogueWriter(form.state.core.catalogue, form.state.core.rom.size()).readMap("Alpha Town");
    const int start = 251 * 16; // byte i of the pattern image is i mod 251: bytes 0 to 89, blocks 1 to 10 among them
    alpha.start = start;
    MapPropertiesDialog dialog(form.state.core.catalogue, form.state.core.rom, alpha, false,
                               [](const MapFields&) { return SessionOutcome::declined(); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const QImage before = dialog.preview();
    QVERIFY(!before.isNull());
    // From the comment field and from the start offset's own box alike.
    for (QWidget* focus : {static_cast<QWidget*>(dialog.Comment), static_cast<QWidget*>(dialog.Start)}) {
        focus->setFocus();
        dialog.Start->setValue(start);
        QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(dialog.Start->value(), start + step);
        QVERIFY(dialog.refusal().isEmpty());
        QVERIFY(dialog.preview() != before); // the pattern image's bytes differ at every offset
    }
}

void TestCatalogueMenu::refusalShownInline()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    MapFields fields;
    fields.name = "Cave";
    fields.category = "Towns";
    fields.start = 0x4000;
    fields.width = fields.height = 4;
    fields.tileset = 1;
    MapPropertiesDialog dialog(form.state.core.catalogue, form.state.core.rom, fields, true,
                               [](const MapFields&) { return SessionOutcome::declined(); });
    QVERIFY(dialog.refusal().isEmpty());
    dialog.Start->setValue(CatalogueFixture::RomSize - 8);
    QVERIFY2(dialog.refusal().contains("runs past the end"), qPrintable(dialog.refusal()));
    QVERIFY(dialog.preview().isNull());
    dialog.Start->setValue(0x4000);
    dialog.Name->setText("Beta Town");
    QVERIFY(dialog.refusal().contains("already in the catalogue"));
    dialog.Name->setText("Cave");
    dialog.Tileset->setValue(3); // no tile picture named
    QVERIFY2(dialog.refusal().startsWith("Cannot open file"), qPrintable(dialog.refusal()));
    QVERIFY(f.prompts.shown.empty()); // no message box
}

void TestCatalogueMenu::okIsOneUndoEntry()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Towns", "Alpha Town");
    const QByteArray maps = f.dir.read("Maps.Ini");
    const int entries = form.session->undoStack().count();
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<MapPropertiesDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->MapWidth->setValue(9);
        dialog->Comment->setText("Changed");
        dialog->accept();
    });
    form.catalogueMenu->MapProperties1->trigger();
    QVERIFY(f.dir.read("Maps.Ini").contains("[Alpha Town]\r\nStart offset=0x1000\r\nEnd offset=0x1050\r\nX size=9\r\n"));
    QCOMPARE(f.dir.read("Maps.Ini.bak"), maps);
    QCOMPARE(form.state.core.map.MapWidth, 9);
    QCOMPARE(form.state.core.map.comment, QString("Changed"));
    QCOMPARE(form.session->undoStack().count(), entries + 1);
    form.session->undoStack().undo();
    QCOMPARE(f.dir.read("Maps.Ini"), maps);
    QCOMPARE(form.state.core.map.MapWidth, 10);
    form.session->undoStack().redo();
    QCOMPARE(form.state.core.map.MapWidth, 9);
}

void TestCatalogueMenu::removeMapLeavesTheChooser()
{
    EditorFixture f;
    TMainForm& form = f.openWithRom();
    f.pickMap("Towns", "Beta Town");
    const QByteArray main = f.dir.read("Main.Ini");
    form.catalogueMenu->RemoveMap1->trigger();
    QVERIFY(f.prompts.lastText().startsWith("Remove map \"Beta Town\" from category \"Towns\"?"));
    QCOMPARE(f.dir.read("Main.Ini"), QByteArray("[Towns]\r\n1=Alpha Town\r\n2=Gamma\r\n[Routes]\r\n1=Route 1\r\n"));
    QCOMPARE(form.SubBox->count(), 2);
    QCOMPARE(form.SubBox->itemText(1), QString("Gamma"));
    form.session->undoStack().undo();
    QCOMPARE(f.dir.read("Main.Ini"), main);
    QCOMPARE(form.SubBox->count(), 3);
    // No: nothing written.
    f.prompts.answer(Prompts::Answer::No);
    form.catalogueMenu->RemoveMap1->trigger();
    QCOMPARE(f.dir.read("Main.Ini"), main);
}

void TestCatalogueMenu::folderTravelsWithRom_data()
{
    QTest::addColumn<bool>("commandLine");
    QTest::newRow("the folder kept for the ROM") << false;
    QTest::newRow("--catalogue wins") << true;
}

void TestCatalogueMenu::folderTravelsWithRom()
{
    QFETCH(bool, commandLine);
    EditorFixture f;
    UserSettings settings;
    QTemporaryDir mine;
    {
        EditorState state(f.dir.path());
        TMainForm form(state, f.prompts, &settings);
        form.loadRom(f.dir.file("rom.gbc"));
        QVERIFY(form.catalogueMenu->useFolder(mine.path()));
        // A folder without a catalogue starts as empty files.
        for (const char* file : {"Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini", "Options.ini"})
            QCOMPARE(QFileInfo(mine.filePath(file)).size(), 0);
        QCOMPARE(form.MainBox->count(), 0);
    }
    EditorState state(f.dir.path());
    TMainForm form(state, f.prompts, &settings);
    form.catalogueMenu->folderFromCommandLine = commandLine;
    QCOMPARE(form.MainBox->count(), 2);
    // Another image with the same header.
    QByteArray rom = f.dir.read("rom.gbc");
    rom[0x1000] = 'x';
    f.dir.write("copy.gbc", rom);
    form.loadRom(f.dir.file("copy.gbc"));
    QCOMPARE(state.core.catalogue.programDir, commandLine ? f.dir.path() : mine.path());
    QCOMPARE(form.MainBox->count(), commandLine ? 2 : 0);
    // A header of another ROM keeps the folder in force.
    rom[0x134] = 'Z';
    f.dir.write("other.gbc", rom);
    EditorState other(f.dir.path());
    TMainForm otherForm(other, f.prompts, &settings);
    otherForm.loadRom(f.dir.file("other.gbc"));
    QCOMPARE(other.core.catalogue.programDir, f.dir.path());
}

void TestCatalogueMenu::unwritableFolderOfferedACopy_data()
{
    QTest::addColumn<bool>("copy");
    QTest::newRow("Yes: the change goes to the copy") << true;
    QTest::newRow("No: nothing changes") << false;
}

void TestCatalogueMenu::unwritableFolderOfferedACopy()
{
    QFETCH(bool, copy);
    QStandardPaths::setTestModeEnabled(true);
    EditorFixture f;
    UserSettings settings;
    TMainForm& form = f.openWithRom(&settings);
    const EditorState& state = *f.state;
    const QByteArray main = f.dir.read("Main.Ini");
    // Read-only for its owner; the immutable flag too, which holds for root.
    QFile::setPermissions(f.dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QProcess::execute("chattr", {"+i", f.dir.path()});
    struct Restore {
        QString path;
        ~Restore()
        {
            QProcess::execute("chattr", {"-i", path});
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    } restore{f.dir.path()};
    if (QFile probe(f.dir.file("probe")); probe.open(QIODevice::WriteOnly))
        QSKIP("this folder cannot be made read-only here");

    f.prompts.answer(copy ? Prompts::Answer::Yes : Prompts::Answer::No);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->setTextValue("Caves");
        dialog->accept();
    });
    form.catalogueMenu->NewCategory1->trigger();
    const QString offer = QString("The catalogue folder %1 cannot be written. Copy it to ").arg(f.dir.path());
    QVERIFY(std::any_of(f.prompts.shown.begin(), f.prompts.shown.end(),
                        [&](const auto& message) { return message.text.startsWith(offer); }));
    QCOMPARE(f.dir.read("Main.Ini"), main);
    const QString now = state.core.catalogue.programDir;
    if (!copy) {
        QCOMPARE(now, f.dir.path());
        QCOMPARE(form.MainBox->count(), 2);
        return;
    }
    QVERIFY(now != f.dir.path());
    QCOMPARE(settings.catalogueFolderFor(CatalogueFolder::romKey(state.core.rom.bytes())), now);
    QFile copied(now + "/Main.Ini");
    QVERIFY(copied.open(QIODevice::ReadOnly));
    const QByteArray written = copied.readAll();
    QVERIFY(written.startsWith(main) && written.mid(main.size()).contains("[Caves]"));
    QVERIFY(QFileInfo::exists(now + "/rom.gbc"));   // every file of the folder came along
    QCOMPARE(form.MainBox->count(), 3);
    QDir(now).removeRecursively();
}

QTEST_MAIN(TestCatalogueMenu)
#include "tst_catalogue_menu.moc"
