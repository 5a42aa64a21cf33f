// What the user's own settings bring: Preferences, Test Play, Open Recent and
// the last session, each with a settings file of the test's own.
#include "session/editor_session.h"
#include "session/user_settings.h"
#include "ui/main/preferences_dialog.h"
#include "ui/main/recent_files_menu.h"
#include "ui/main/session_restore.h"
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
    UserSettings settings(f.dir.file("settings.ini"));
    f.state = std::make_unique<EditorState>(f.dir.path());
    TMainForm form(*f.state, f.prompts, &settings);
    form.show();
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
    elsewhere.write("other.gbc", TestDir::patternRom(0x8000));
    const QString other = elsewhere.file("other.gbc");
    const QString settingsFile = f.dir.file("settings.ini");
    {
        UserSettings settings(settingsFile);
        for (int i = 0; i < 11; ++i)   // one more than the menu keeps
            settings.addRecentFile(elsewhere.file(QStringLiteral("gone%1.gbc").arg(i)));
        f.state = std::make_unique<EditorState>(f.dir.path());
        TMainForm form(*f.state, f.prompts, &settings);
        form.loadRom(other);
        form.loadRom(f.dir.file("rom.gbc"));
        const QStringList shown = recentShown(form);
        QCOMPARE(shown.size(), 10);
        QCOMPARE(shown.mid(0, 3), (QStringList{"&1 " + QDir::toNativeSeparators(f.dir.file("rom.gbc")),
                                               "&2 " + QDir::toNativeSeparators(other),
                                               "-&3 " + QDir::toNativeSeparators(elsewhere.file("gone10.gbc"))}));
        form.recentFiles->OpenRecent1->actions().at(1)->trigger();
        QCOMPARE(f.state->core.RomFileName, other);
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
    const LastSession last = settings.lastSession();
    const SessionStart start = planStart(last, QString(), QString(), elsewhere.path());
    EditorState state(start.catalogue);
    TMainForm form(state, f.prompts, &settings);
    restoreLastSession(form, last, start);
    QCOMPARE(state.core.RomFileName, f.dir.file("rom.gbc"));
    QCOMPARE(state.core.catalogue.programDir, f.dir.path());
    QCOMPARE(form.MainBox->currentText(), QStringLiteral("Routes"));
    QCOMPARE(state.core.map.name, QStringLiteral("Route 1"));
    QCOMPARE(form.zoom->percent(), 200);
    QCOMPARE(form.TabbedNotebook1->currentIndex(), 1);
    QCOMPARE(form.size(), QSize(700, 500));

    // "kartola other.gbc" opens that file and leaves the map alone.
    const SessionStart another = planStart(last, other, QString(), elsewhere.path());
    QVERIFY(!another.restoreMap);
    QCOMPARE(another.catalogue, elsewhere.path());

    form.recentFiles->ClearRecent1->trigger();
    QVERIFY(recentShown(form).isEmpty());
}

QTEST_MAIN(TestUserSettings)
#include "tst_user_settings.moc"
