// Utilies > Run Script as a user works it: the file dialog, the Script
// Output panel, one undo entry for a changed image and nothing changed by a
// failing script; the Scripts submenu; Load Rom and closing stop a script.
#include "script/script_job.h"
#include "script/script_process.h"
#include "script/script_run.h"
#include "ui/main/script_arguments_dialog.h"
#include "ui/main/script_console.h"
#include <QPlainTextEdit>
#include "session/editor_session.h"
#include "ui/main/script_commands.h"
#include "ui/main/script_output_panel.h"
#include "ui_support/editor_fixture.h"
#include "widgets/qt_prompts.h"

#include <QAction>
#include <QDir>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUndoStack>
#include <QtTest>

#include <csignal>

class TestScriptCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void runs_data();
    void runs();
    void scriptsMenuAndStops();
    void argumentsAsked();
    void console();
    void inProcesses();
};

void TestScriptCommands::runs_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("shown");   // a line of the panel
    QTest::addColumn<bool>("changed");
    QTest::newRow("a byte changed") << "log('writing');\nrom.setByte(0x10, 0x77)" << "writing" << true;
    QTest::newRow("thrown") << "rom.setByte(0x10, 0x77);\nthrow new Error('bad')" << "bump.js:2: bad" << false;
}

void TestScriptCommands::runs()
{
    QFETCH(QString, source);
    QFETCH(QString, shown);
    QFETCH(bool, changed);
    EditorFixture editor;
    editor.dir.write("bump.js", source.toUtf8());
    QVERIFY(QDir(editor.dir.path()).mkpath(QStringLiteral("scripts")));
    QVERIFY(QDir(editor.dir.path()).mkpath(QStringLiteral("elsewhere")));
    TMainForm& form = editor.openWithRom();
    editor.pickMap(QStringLiteral("Towns"), QStringLiteral("Alpha Town"));
    // Two strokes on the map first, kept in the image when the run asks.
    const quint8 firstCell = form.state.map.MapBytes[0];
    for (int block : {0x31, 0x32}) {
        form.session->stamp().setSelectedBlock(block);
        form.session->beginStroke();
        form.session->paintCell(0);
        form.session->endStroke();
    }
    editor.prompts.answer(Prompts::Answer::Yes);
    QAction* runScript = form.findChild<QAction*>(QStringLiteral("RunScript1"));
    auto* panel = form.findChild<ScriptOutputPanel*>(QStringLiteral("ScriptOutput"));
    QVERIFY(runScript && runScript->isEnabled() && !panel->isVisibleTo(&form));

    QSignalSpy finished(form.scripts->job, &ScriptJob::finished);
    editor.prompts.chooseFile(editor.dir.file("bump.js"));
    runScript->trigger();
    QVERIFY(!runScript->isEnabled() && panel->isVisibleTo(&form));   // a second run waits
    QVERIFY(finished.wait(20000));
    QVERIFY(runScript->isEnabled());
    QVERIFY2(panel->text().split(QLatin1Char('\n')).contains(shown), qPrintable(panel->text()));
    QCOMPARE(form.state.core.map.name, QStringLiteral("Alpha Town"));
    QUndoStack& undo = form.session->undoStack();
    // The run is one entry on top of the strokes; each comes off in turn.
    QCOMPARE(undo.count(), changed ? 3 : 2);
    QCOMPARE(form.state.core.rom.bytes().at(0x10), changed ? '\x77' : '\x10');
    QCOMPARE(form.state.map.MapBytes[0], quint8(0x32));
    if (changed) {
        QCOMPARE(undo.text(2), QStringLiteral("Run Script bump"));
        undo.undo();
        QCOMPARE(form.state.core.rom.bytes().at(0x10), '\x10');
    }
    undo.undo();
    QCOMPARE(form.state.map.MapBytes[0], quint8(0x31));
    undo.undo();
    QCOMPARE(form.state.map.MapBytes[0], firstCell);
    QVERIFY(!undo.canUndo());

    // The file dialog offered the scripts in the catalogue folder, then the folder used last.
    const Prompts::FileRequest asked = editor.prompts.fileRequests.back();
    QCOMPARE(asked.initialName, editor.dir.file("scripts"));
    QCOMPARE(qtFileFilter(asked.filter), QStringLiteral("Scripts (*.js);;All files (*.*) (*)"));
    editor.dir.write("elsewhere/quiet.js", "log('quiet')");
    editor.prompts.chooseFile(editor.dir.file("elsewhere/quiet.js"));
    runScript->trigger();
    QVERIFY(finished.wait(20000));
    editor.prompts.chooseFile(std::nullopt);
    runScript->trigger();
    QCOMPARE(editor.prompts.fileRequests.back().initialName, editor.dir.file("elsewhere"));
}

void TestScriptCommands::scriptsMenuAndStops()
{
    EditorFixture editor;
    const QString user = ScriptCommands::userScriptsFolder();
    QVERIFY(QDir().mkpath(user));
    QFile(user + QStringLiteral("/mine.js")).open(QIODevice::WriteOnly);
    QVERIFY(QDir(editor.dir.path()).mkpath(QStringLiteral("scripts")));
    editor.dir.write("scripts/endless.js", "rom.setByte(0x10, 0x77); log('go'); while (true) {}");
    editor.dir.write("scripts/notes.txt", "");
    TMainForm& form = editor.openWithRom();
    QMenu* scripts = form.findChild<QMenu*>(QStringLiteral("Scripts1"));
    emit scripts->aboutToShow();
    QStringList names;
    for (QAction* action : scripts->actions())
        if (!action->isSeparator())
            names << action->text();
    QCOMPARE(names, (QStringList{"mine.js", "endless.js"}));
    QVERIFY(QDir(user).removeRecursively());

    // The script's own limit is 30 seconds: only a stop ends it sooner.
    QSignalSpy finished(form.scripts->job, &ScriptJob::finished);
    QSignalSpy logged(form.scripts->job, &ScriptJob::logLines);
    scripts->actions().constLast()->trigger();
    QVERIFY(logged.wait(20000));
    QVERIFY(form.loadRom(editor.dir.file("rom.gbc")));
    QVERIFY(finished.wait(2000));
    QCOMPARE(form.state.core.rom.bytes().at(0x10), '\x10');
    QVERIFY(form.scripts->panel->text().endsWith(QStringLiteral("endless: stopped; nothing changed.")));

    scripts->actions().constLast()->trigger();
    QVERIFY(logged.wait(20000));
    QVERIFY(form.close());
    QVERIFY(finished.wait(2000));
}

// A script that declares arguments asks them, refuses a number field that
// holds none, gives the command line's bytes for the same values, and finds
// its values again the next time.
void TestScriptCommands::argumentsAsked()
{
    EditorFixture editor;
    const QByteArray source = "// Writes a byte.\n// @arg offset number \"Offset\"\n// @arg value number\n"
                              "rom.setByte(Number(args[0]), Number(args[1]));";
    QVERIFY(QDir(editor.dir.path()).mkpath(QStringLiteral("scripts")));
    editor.dir.write("scripts/put.js", source);
    TMainForm& form = editor.openWithRom();
    const QByteArray before = form.state.core.rom.bytes();
    QSignalSpy finished(form.scripts->job, &ScriptJob::finished);
    form.scripts->run(editor.dir.file("scripts/put.js"));
    ScriptArgumentsDialog* dialog = form.scripts->arguments;
    QVERIFY(dialog->isVisible() && !form.scripts->isRunning());
    QCOMPARE(dialog->Fields.size(), 2);
    dialog->Fields[0]->setText(QStringLiteral("32"));
    dialog->Fields[1]->setText(QStringLiteral("ten"));
    dialog->Buttons->button(QDialogButtonBox::Ok)->click();
    QVERIFY(dialog->isVisible() && dialog->Problem->isVisibleTo(dialog) && !form.scripts->isRunning());
    QCOMPARE(dialog->Problem->text(), QStringLiteral("value must be a number."));
    dialog->Fields[1]->setText(QStringLiteral("171"));
    dialog->Buttons->button(QDialogButtonBox::Ok)->click();
    QVERIFY(!dialog->isVisible());
    QVERIFY(finished.wait(20000));

    const ScriptResult batch = runScript({QStringLiteral("put.js"), QString::fromUtf8(source), {"32", "171"}, before,
                                          editor.dir.path()},
                                         [](const QString&) {});
    QCOMPARE(batch.image.at(32), char(171));
    QCOMPARE(form.state.core.rom.bytes(), batch.image);

    form.scripts->run(editor.dir.file("scripts/put.js"));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->values(), (QStringList{"32", "171"}));
    dialog->reject();
    QVERIFY(!form.scripts->isRunning());
}

// View > Script Console: a line's value and log shown, its error at its line,
// a change one undo entry, Up and Down through the lines entered.
void TestScriptCommands::console()
{
    EditorFixture editor;
    TMainForm& form = editor.openWithRom();
    ScriptConsole* console = form.scripts->console;
    QVERIFY(form.findChild<QMenu*>(QStringLiteral("View1"))->actions().contains(console->toggleViewAction()));
    QSignalSpy finished(console->job, &ScriptJob::finished);
    const auto enter = [&](const QString& line) {
        console->Input->setText(line);
        QTest::keyClick(console->Input, Qt::Key_Return);
        QVERIFY(finished.wait(20000));
        QVERIFY(console->Input->text().isEmpty() && console->Input->isEnabled());
    };
    enter(QStringLiteral("log('set'); rom.setByte(0x10, 0x77); rom.byte(0x10) + 1"));
    enter(QStringLiteral("map('Nowhere')"));
    enter(QStringLiteral("var a = [1, 2]; a"));
    QCOMPARE(console->Output->toPlainText(),
             QStringLiteral("> log('set'); rom.setByte(0x10, 0x77); rom.byte(0x10) + 1\nset\n120\nThe image was changed.\n"
                            "> map('Nowhere')\nconsole:1: there is no map \"Nowhere\"\n> var a = [1, 2]; a\n[1,2]"));
    QUndoStack& undo = form.session->undoStack();
    QCOMPARE(undo.count(), 1);
    QCOMPARE(form.state.core.rom.bytes().at(0x10), '\x77');
    undo.undo();
    QCOMPARE(form.state.core.rom.bytes().at(0x10), '\x10');

    const QStringList walk{"var a = [1, 2]; a", "map('Nowhere')", "var a = [1, 2]; a", "", ""};
    QStringList seen;
    for (int key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) {
        QTest::keyClick(console->Input, Qt::Key(key));
        seen << console->Input->text();
    }
    QCOMPARE(seen, walk);
}

// As the program runs scripts, each in a process of its own started while
// the user picks the script: one past its memory bound ends with one line
// and changes nothing, the editor goes on (also when the process waiting for
// the next script died), and Stop ends a script that never ends.
void TestScriptCommands::inProcesses()
{
    ScriptJob::runInProcesses(QStringLiteral(KARTOLA_PROGRAM));
    const auto inThreads = qScopeGuard([] { ScriptJob::runInProcesses(QString()); });
    EditorFixture editor;
    QVERIFY(QDir(editor.dir.path()).mkpath(QStringLiteral("scripts")));
    editor.dir.write("scripts/a_hog.js", "rom.setByte(0x10, 0x77);\nvar a = [];\nwhile (true) a.push([1, 2, 3, 4]);");
    editor.dir.write("scripts/b_set.js", "rom.setByte(0x11, 0x55)");
    editor.dir.write("scripts/c_spin.js", "log('spinning');\nwhile (true) {}");
    TMainForm& form = editor.openWithRom();
    form.scripts->job->setMemoryMiB(200);
    QMenu* scripts = form.findChild<QMenu*>(QStringLiteral("Scripts1"));
    QSignalSpy finished(form.scripts->job, &ScriptJob::finished);
    const auto pick = [&](int item) {
        emit scripts->aboutToShow();
        QVERIFY(ScriptProcess::preparedProcessId() != 0);
        scripts->actions().at(item)->trigger();
    };
    const auto lastLine = [&] { return form.scripts->panel->text().split(QLatin1Char('\n')).constLast(); };

    pick(0);
    QCOMPARE(ScriptProcess::preparedProcessId(), 0);   // the run took it
    QVERIFY(finished.wait(30000));
    QCOMPARE(lastLine(), QStringLiteral("a_hog.js: out of memory."));
    QCOMPARE(form.state.core.rom.bytes().at(0x10), '\x10');
    QVERIFY(!form.session->undoStack().canUndo());

    // The next script's process waits already; one that died is replaced.
    const qint64 waiting = ScriptProcess::preparedProcessId();
    QVERIFY(waiting != 0);
    QCOMPARE(::kill(pid_t(waiting), SIGKILL), 0);
    QTRY_COMPARE(ScriptProcess::preparedProcessId(), 0);
    scripts->actions().at(1)->trigger();
    QVERIFY(finished.wait(30000));
    QCOMPARE(lastLine(), QStringLiteral("b_set finished; the image was changed."));
    QCOMPARE(form.state.core.rom.bytes().at(0x11), '\x55');

    QSignalSpy logged(form.scripts->job, &ScriptJob::logLines);
    pick(2);
    QVERIFY(logged.wait(30000));
    QTest::mouseClick(form.scripts->panel->Stop, Qt::LeftButton);
    QVERIFY(finished.wait(5000));
    QCOMPARE(lastLine(), QStringLiteral("c_spin.js: stopped."));
}

QTEST_MAIN(TestScriptCommands)
#include "tst_script_commands.moc"
