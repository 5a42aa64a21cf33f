// The real program killed with unsaved changes, and the next start: its
// recovery file offered, restored, kept aside, or saved apart when the ROM
// file changed meanwhile.
#include "demo_data.h"
#include "base/ini_file.h"
#include "session/editor_session.h"
#include "session/recovery_file.h"
#include "session/recovery_keeper.h"
#include "session/user_settings.h"
#include "ui/main/editor_start.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QAction>
#include <QProcess>
#include <QtTest>
#include <csignal>

class TestRecoveryProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void nextStartOffersTheChanges_data();
    void nextStartOffersTheChanges();
};

void TestRecoveryProgram::initTestCase()
{
    // The folder names the program's own data folder uses.
    QCoreApplication::setApplicationName(QStringLiteral("Kartola"));
}

void TestRecoveryProgram::nextStartOffersTheChanges_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("romChanged");
    QTest::newRow("yes") << true << false;
    QTest::newRow("no") << false << false;
    QTest::newRow("ROM file changed, yes") << true << true;
}

void TestRecoveryProgram::nextStartOffersTheChanges()
{
    QFETCH(bool, restore);
    QFETCH(bool, romChanged);
    TestDir dir;
    TestDir data;   // the user's data folder, for the program and for this test
    QString error;
    QVERIFY2(writeDemoData(dir.path(), &error), qPrintable(error));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    const QString rom = dir.file(QStringLiteral("demo.gbc"));
    const QString recovery = QDir(RecoveryKeeper::standardFolder()).filePath(RecoveryFile::fileNameFor(rom));

    // The first run paints two blocks through its window (the input plugin)
    // and is killed once its recovery file is there.
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(KARTOLA_TEST_PLUGINS));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("kartoladrive"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KARTOLA_PROGRAM), {QStringLiteral("--catalogue"), dir.path(), rom});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(recovery), 60000);
    ::kill(pid_t(program.processId()), SIGKILL);
    QVERIFY(program.waitForFinished());
    QCOMPARE(program.exitStatus(), QProcess::CrashExit);

    // The edit: blocks 2 and 3 on the first two cells of the first map.
    const IniFile mainIni(dir.file(QStringLiteral("Main.Ini")));
    const QString map = mainIni.readString(mainIni.sections().value(0), QStringLiteral("1"));
    const qint64 start = IniFile(dir.file(QStringLiteral("Maps.Ini"))).readInteger(map, QStringLiteral("Start offset"));
    QByteArray original = dir.read(QStringLiteral("demo.gbc"));
    QVERIFY(original.mid(start, 2) != QByteArray("\x02\x03"));
    if (romChanged) {
        original[original.size() - 1] = char(~original.at(original.size() - 1));
        dir.write(QStringLiteral("demo.gbc"), original);
    }

    ScriptedPrompts prompts;
    prompts.answer(restore ? Prompts::Answer::Yes : Prompts::Answer::No);
    const QString apart = dir.file(QStringLiteral("restored.gbc"));
    prompts.chooseFile(apart);
    // A copy kept aside earlier is not replaced by this one.
    const QString aside = QDir(RecoveryKeeper::standardFolder()).filePath(QStringLiteral("demo.gbc.recovered.bps"));
    QFile(aside).open(QIODevice::WriteOnly);
    // The next start, as the program makes it: the ROM file comes from the recovery folder.
    UserSettings settings;
    const StartedEditor editor =
        startEditor({QString(), QString(), dir.path(), RecoveryKeeper::standardFolder()}, settings, &prompts);
    const EditorState& state = *editor.state;
    TMainForm& form = *editor.form;
    QCOMPARE(state.core.RomFileName, QFileInfo(rom).absoluteFilePath());
    QCOMPARE(prompts.shown.size(), size_t(1));
    QVERIFY2(prompts.shown.front().text.startsWith(QStringLiteral(
                 "Kartola was closed without saving changes to demo.gbc (saved ")),
             qPrintable(prompts.shown.front().text));
    QCOMPARE(prompts.shown.front().text.contains(QStringLiteral("has changed on disk")), romChanged);
    QVERIFY(dir.read(QStringLiteral("demo.gbc")) == original);

    if (!restore) {
        QVERIFY(QFileInfo(aside).size() == 0 && !QFile::exists(recovery));
        QVERIFY(QFile::exists(QDir(RecoveryKeeper::standardFolder()).filePath(QStringLiteral("demo.gbc.recovered-2.bps"))));
        QVERIFY(state.core.rom.bytes() == original && !form.isWindowModified());
    } else if (romChanged) {
        // Saved apart: the change on disk and the edit, both.
        QByteArray expected = original;
        expected[start] = 2;
        expected[start + 1] = 3;
        QVERIFY(dir.read(QStringLiteral("restored.gbc")) == expected);
        QVERIFY(!QFile::exists(recovery) && !form.isWindowModified());
    } else {
        QCOMPARE(state.core.map.name, map);
        QCOMPARE(int(state.map.MapBytes[0]), 2);
        QCOMPARE(int(state.map.MapBytes[1]), 3);
        QVERIFY(form.isWindowModified());
        QCOMPARE(form.session->undoStack().count(), 1);
        form.Undo1->trigger();
        QVERIFY(state.core.rom.bytes() == original && !form.isWindowModified());
    }
}

QTEST_MAIN(TestRecoveryProgram)
#include "tst_recovery_program.moc"
