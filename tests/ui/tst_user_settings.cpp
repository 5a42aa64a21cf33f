// What the user's own settings bring: Preferences, Test Play, Open Recent and
// the last session, each with a settings file of the test's own.
#include "session/editor_session.h"
#include "session/user_settings.h"
#include "ui/main/editor_start.h"
#include "ui/main/preferences_dialog.h"
#include "ui/main/recent_files_menu.h"
#include "ui_support/editor_fixture.h"
#include "widgets/zoom_setting.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

class TestUserSettings : public QObject {
    Q_OBJECT
private slots:
    void testPlayAsksForTheCommandFirst();
    void recentFilesAndTheLastSessionComeBack();
    void lastMapComesBackOnlyWithItsCatalogue_data();
    void lastMapComesBackOnlyWithItsCatalogue();
};

namespace {

// The captions of File > Open Recent as it shows when opened, "-" for a disabled one.
QStringList recentShown(TMainForm& form)
{
    QMenu* menu = form.recentFiles->OpenRecent1;
    menu->popup(QPoint(0, 0));
    QStringList shown;
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && action != form.recentFiles->ClearRecent1)
            shown << (action->isEnabled() ? QString() : QStringLiteral("-")) + action->text();
    menu->hide();
    return shown;
}

} // namespace

void TestUserSettings::testPlayAsksForTheCommandFirst()
{
    EditorFixture f;
    TestDir recovery;
    UserSettings settings(f.dir.file("settings.ini"));
    const StartedEditor editor = startEditor({QString(), QString(), f.dir.path(), recovery.path()}, settings, &f.prompts);
    TMainForm& form = *editor.form;
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(!form.TestPlay1->isEnabled());
    form.loadRom(f.dir.file("rom.gbc"));

    QTest::keyClick(&form, Qt::Key_F5);
    TPreferencesForm* dialog = form.preferences;
    QTRY_VERIFY(dialog->isVisible());
    QVERIFY(dialog->EmulatorEdit->text().isEmpty());
    QVERIFY(!dialog->FixChecksumsBox->isChecked());
    QTest::keyClicks(dialog->EmulatorEdit, QStringLiteral("/no/such/emulator %f"));
    QTest::mouseClick(dialog->FixChecksumsBox, Qt::LeftButton, {}, QPoint(4, dialog->FixChecksumsBox->height() / 2));
    QTest::mouseClick(dialog->Buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QVERIFY(form.session->fixChecksumsOnSave());
    QCOMPARE(UserSettings(f.dir.file("settings.ini")).emulatorCommand(), QStringLiteral("/no/such/emulator %f"));

    // A command that does not start: one message, nothing else.
    const QByteArray file = f.dir.read("rom.gbc");
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F5);
    QCOMPARE(f.prompts.texts(), QStringList{QStringLiteral("Cannot start the emulator \"/no/such/emulator\". "
                                                           "Check its command in Edit > Preferences...")});
    QVERIFY(!dialog->isVisible());
    QVERIFY(f.dir.read("rom.gbc") == file);
}

void TestUserSettings::recentFilesAndTheLastSessionComeBack()
{
    EditorFixture f;
    TestDir elsewhere;
    TestDir recovery;
    elsewhere.write("other.gbc", TestDir::patternRom(0x8000));
    const QString other = elsewhere.file("other.gbc");
    const QString settingsFile = f.dir.file("settings.ini");
    {
        UserSettings settings(settingsFile);
        for (int i = 0; i < 11; ++i)   // one more than the menu keeps
            settings.addRecentFile(elsewhere.file(QStringLiteral("gone%1.gbc").arg(i)));
        const StartedEditor first = startEditor({QString(), QString(), f.dir.path(), recovery.path()}, settings, &f.prompts);
        TMainForm& form = *first.form;
        const EditorState* state = first.state.get();
        form.loadRom(other);
        form.loadRom(f.dir.file("rom.gbc"));
        const QStringList shown = recentShown(form);
        QCOMPARE(shown.size(), 10);
        QCOMPARE(shown.mid(0, 3), (QStringList{"&1 " + QDir::toNativeSeparators(f.dir.file("rom.gbc")),
                                               "&2 " + QDir::toNativeSeparators(other),
                                               "-&3 " + QDir::toNativeSeparators(elsewhere.file("gone10.gbc"))}));
        form.recentFiles->OpenRecent1->actions().at(1)->trigger();
        QCOMPARE(state->core.RomFileName, other);
        form.loadRom(f.dir.file("rom.gbc"));

        form.MainBox->setCurrentIndex(form.MainBox->findText(QStringLiteral("Routes")));
        form.MainBoxClick();
        form.SubBox->setCurrentIndex(0);
        form.pickMap(QStringLiteral("Route 1"), true);
        form.zoom->setPercent(200);
        form.TabbedNotebook1->setCurrentIndex(1);
        form.resize(700, 500);
        QVERIFY(form.close());
    }

    // The next start, without a ROM argument, from another program folder.
    UserSettings settings(settingsFile);
    const StartedEditor next = startEditor({QString(), QString(), elsewhere.path(), recovery.path()}, settings, &f.prompts);
    TMainForm& form = *next.form;
    const EditorState& state = *next.state;
    QCOMPARE(state.core.RomFileName, f.dir.file("rom.gbc"));
    QCOMPARE(state.core.catalogue.programDir, f.dir.path());
    QCOMPARE(form.MainBox->currentText(), QStringLiteral("Routes"));
    QCOMPARE(state.core.map.name, QStringLiteral("Route 1"));
    QCOMPARE(form.zoom->percent(), 200);
    QCOMPARE(form.TabbedNotebook1->currentIndex(), 1);
    QCOMPARE(form.size(), QSize(700, 500));

    form.recentFiles->ClearRecent1->trigger();
    QVERIFY(recentShown(form).isEmpty());
}

// The last session's map comes back only with the catalogue folder it was
// picked from: another folder may list the same names for other maps.
void TestUserSettings::lastMapComesBackOnlyWithItsCatalogue_data()
{
    // Folders: "last" is the last session's, "other" the program's folder and
    // a catalogue with the same categories and maps; "" is none.
    QTest::addColumn<QString>("romArgument");
    QTest::addColumn<QString>("catalogueArgument");
    QTest::addColumn<bool>("lastFolderGone");
    QTest::addColumn<QString>("folderRead");
    QTest::addColumn<bool>("mapBack");
    QTest::newRow("plain start") << "" << "" << false << "last" << true;
    QTest::newRow("the last catalogue named") << "" << "last" << false << "last" << true;
    QTest::newRow("the last ROM file named") << "last" << "" << false << "last" << true;
    QTest::newRow("another catalogue named") << "" << "other" << false << "other" << false;
    QTest::newRow("the last catalogue gone") << "" << "" << true << "other" << false;
    QTest::newRow("another ROM file named") << "other" << "" << false << "other" << false;
}

void TestUserSettings::lastMapComesBackOnlyWithItsCatalogue()
{
    QFETCH(QString, romArgument);
    QFETCH(QString, catalogueArgument);
    QFETCH(bool, lastFolderGone);
    QFETCH(QString, folderRead);
    QFETCH(bool, mapBack);
    EditorFixture f;
    CatalogueFixture other;
    TestDir recovery;
    const auto folder = [&](const QString& name) {
        return name.isEmpty() ? QString() : (name == QStringLiteral("last") ? f.dir : other.dir).path();
    };
    const auto rom = [&](const QString& name) { return name.isEmpty() ? QString() : folder(name) + "/rom.gbc"; };

    UserSettings settings;
    LastSession last;
    last.rom = rom(QStringLiteral("last"));
    last.catalogue = lastFolderGone ? f.dir.file(QStringLiteral("gone")) : f.dir.path();
    last.category = QStringLiteral("Routes");
    last.map = QStringLiteral("Route 1");
    settings.setLastSession(last);

    const StartedEditor editor = startEditor(
        {rom(romArgument), folder(catalogueArgument), other.dir.path(), recovery.path()}, settings, &f.prompts);
    const EditorCore& core = editor.state->core;
    QCOMPARE(core.catalogue.programDir, folder(folderRead));
    QCOMPARE(core.RomFileName, romArgument.isEmpty() ? last.rom : rom(romArgument));
    QCOMPARE(core.map.isMap(), mapBack);
    QCOMPARE(editor.form->SubBox->currentText(), mapBack ? last.map : QString());
    QVERIFY(f.prompts.shown.empty());
}

QTEST_MAIN(TestUserSettings)
#include "tst_user_settings.moc"
