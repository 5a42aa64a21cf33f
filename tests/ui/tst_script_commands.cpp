// Utilies > Run Script as a user works it: the file dialog, the Script
// Output panel, one undo entry for a changed image, nothing changed by a
// script that fails or runs too long; the Scripts submenu's two folders.
#include "script/script_job.h"
#include "session/editor_session.h"
#include "ui/main/script_commands.h"
#include "ui/main/script_output_panel.h"
#include "ui_support/editor_fixture.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUndoStack>
#include <QtTest>

class TestScriptCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void runs_data();
    void runs();
    void scriptsMenuListsBothFolders();
    void loadAndCloseStopTheScript();
};

void TestScriptCommands::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("KartolaScriptTest"));
}

void TestScriptCommands::runs_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<QString>("shown");   // a line of the panel
    QTest::addColumn<int>("byte");        // at 0x10 afterwards; the undo entry "Run Script bump" when it changed
    const int before = 0x10;              // the pattern image's own byte
    QTest::newRow("a byte changed") << "log('writing');\nrom.setByte(0x10, 0x77)" << 10000 << "writing" << 0x77;
    QTest::newRow("thrown") << "rom.setByte(0x10, 0x77);\nthrow new Error('bad')" << 10000 << "bump.js:2: bad"
                            << before;
    QTest::newRow("too long") << "rom.setByte(0x10, 0x77);\nwhile (true) {}" << 200
                              << "bump.js: stopped: it ran longer than it may." << before;
}

void TestScriptCommands::runs()
{
    QFETCH(QString, source);
    QFETCH(int, timeoutMs);
    QFETCH(QString, shown);
    QFETCH(int, byte);

    EditorFixture editor;
    editor.dir.write("bump.js", source.toUtf8());
    TMainForm& form = editor.openWithRom();
    editor.pickMap(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    QUndoStack& undo = form.session->undoStack();
    const QByteArray image = form.state.core.rom.bytes();
    QAction* runScript = form.findChild<QAction*>(QStringLiteral("RunScript1"));
    auto* panel = form.findChild<ScriptOutputPanel*>(QStringLiteral("ScriptOutput"));
    QVERIFY(runScript && runScript->isEnabled() && panel && !panel->isVisibleTo(&form));
    form.scripts->timeoutMs = timeoutMs;

    QSignalSpy finished(form.scripts->job, &ScriptJob::finished);
    editor.prompts.chooseFile(editor.dir.file("bump.js"));
    runScript->trigger();
    QCOMPARE(editor.prompts.fileRequests.back().filter.contains(QStringLiteral("*.js")), true);
    // While it runs, a second run waits.
    QVERIFY(!runScript->isEnabled());
    QVERIFY(panel->isVisibleTo(&form));
    QVERIFY(finished.wait(20000));
    QVERIFY(runScript->isEnabled());
    QVERIFY2(panel->text().split(QLatin1Char('\n')).contains(shown), qPrintable(panel->text()));

    QCOMPARE(quint8(form.state.core.rom.bytes().at(0x10)), quint8(byte));
    QCOMPARE(form.state.core.map.name, QStringLiteral("Alpha Town"));
    if (byte == 0x10) {
        QCOMPARE(form.state.core.rom.bytes(), image);
        QCOMPARE(undo.count(), 0);
        return;
    }
    QCOMPARE(undo.count(), 1);
    QCOMPARE(undo.text(0), QStringLiteral("Run Script bump"));
    undo.undo();
    QCOMPARE(form.state.core.rom.bytes(), image);
}

void TestScriptCommands::scriptsMenuListsBothFolders()
{
    EditorFixture editor;
    const QString user = ScriptCommands::userScriptsFolder();
    QVERIFY(QDir().mkpath(user));
    QFile mine(user + QStringLiteral("/mine.js"));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write("log('mine')");
    mine.close();
    QVERIFY(QDir(editor.dir.path()).mkpath(QStringLiteral("scripts")));
    editor.dir.write("scripts/shared.js", "log('shared')");
    editor.dir.write("scripts/notes.txt", "not a script");
    TMainForm& form = editor.openWithRom();
    QMenu* scripts = form.findChild<QMenu*>(QStringLiteral("Scripts1"));
    QVERIFY(scripts && scripts->isEnabled());
    emit scripts->aboutToShow();
    QStringList names;
    for (QAction* action : scripts->actions())
        if (!action->isSeparator())
            names << action->text();
    QCOMPARE(names, (QStringList{"mine.js", "shared.js"}));

    QSignalSpy finished(form.scripts->job, &ScriptJob::finished);
    scripts->actions().constLast()->trigger();
    QVERIFY(finished.wait(20000));
    QVERIFY(form.scripts->panel->text().contains(QStringLiteral("\nshared\n")));
    QVERIFY(QDir(user).removeRecursively());
}

void TestScriptCommands::loadAndCloseStopTheScript()
{
    EditorFixture editor;
    editor.dir.write("endless.js", "rom.setByte(0x10, 0x77); log('go'); while (true) {}");
    TMainForm& form = editor.openWithRom();
    form.show();
    QSignalSpy finished(form.scripts->job, &ScriptJob::finished);
    QSignalSpy logged(form.scripts->job, &ScriptJob::logLine);
    const auto start = [&] {
        finished.clear();
        logged.clear();
        form.scripts->run(editor.dir.file("endless.js"));
        return logged.wait(20000);
    };

    QVERIFY(start());
    QVERIFY(form.loadRom(editor.dir.file("rom.gbc")));
    QVERIFY(finished.wait(2000));   // the script's own limit is 30 seconds
    QCOMPARE(quint8(form.state.core.rom.bytes().at(0x10)), quint8(0x10));
    QVERIFY(form.scripts->panel->text().endsWith(QStringLiteral("endless: stopped; nothing changed.")));

    QVERIFY(start());
    QVERIFY(form.close());
    QVERIFY(!form.scripts->job->isRunning() || finished.wait(2000));
}

QTEST_MAIN(TestScriptCommands)
#include "tst_script_commands.moc"
