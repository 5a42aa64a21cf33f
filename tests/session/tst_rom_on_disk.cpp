// The ROM file as other programs see it: a file rewritten behind the
// editor's back is not overwritten unasked, nor silently shown stale, and two
// editors on one file are told of each other and keep recovery copies apart.
#include "session/editor_session.h"
#include "session/recovery_file.h"
#include "session/recovery_keeper.h"
#include "session/rom_lock.h"
#include "session/test_play.h"
#include "support/catalogue_fixture.h"
#include "support/low_disk_space.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QProcess>
#include <QSysInfo>
#include <QtTest>

#include <memory>

namespace {

constexpr qint64 AlphaTown = 0x1000;

struct Editor {
    Editor(const CatalogueFixture& files, const QString& recovery) : state(files.dir.path())
    {
        session.recovery().setFolder(recovery);
    }
    void paint()
    {
        session.stamp().setSelectedBlock(int(quint8(state.core.rom.bytes().at(AlphaTown))) + 1);
        session.beginStroke();
        session.paintCell(0);
        session.endStroke();
    }
    ScriptedPrompts prompts;
    EditorState state;
    EditorSession session{state, prompts};
};

// How another program leaves the ROM file after the load.
enum Change { Untouched, Rewritten, Grown, Touched };

// Another program's write: other bytes (or the same ones), and a file time
// some seconds later, as a write a moment later would leave it.
void changeFile(const QString& path, Change change)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    if (change == Untouched)
        return;
    if (change == Rewritten)
        bytes[AlphaTown + 1] = char(~bytes[AlphaTown + 1]);
    if (change == Grown)
        bytes.append(16, '\x5A');
    QVERIFY(file.seek(0) && file.write(bytes) == bytes.size());
    QVERIFY(file.setFileTime(QFileInfo(path).lastModified().addSecs(5), QFileDevice::FileModificationTime));
}

// The id of a process that has ended.
qint64 endedProcess()
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-functions")});
    if (!process.waitForStarted())
        return 0x7FFFFFF0;
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}

} // namespace

class TestRomOnDisk : public QObject {
    Q_OBJECT
private slots:
    void saveAsksWhenChanged_data();
    void saveAsksWhenChanged();
    void activationNoticesChange_data();
    void activationNoticesChange();
    void lockBetweenEditors_data();
    void lockBetweenEditors();
    void lockOnFullDisk();
    void recoveryCopiesKeptApart();
    void messagesNameTheFile_data();
    void messagesNameTheFile();
};

void TestRomOnDisk::saveAsksWhenChanged_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("oursOnDisk");   // the ROM file holds the editor's image after the save
    QTest::addColumn<bool>("savedElsewhere");

    using A = Prompts::Answer;
    QTest::newRow("untouched: saved unasked") << int(Untouched) << int(A::Cancel) << false << true << false;
    QTest::newRow("touched only: saved unasked") << int(Touched) << int(A::Cancel) << false << true << false;
    QTest::newRow("rewritten, Overwrite") << int(Rewritten) << int(A::Overwrite) << true << true << false;
    QTest::newRow("rewritten, Cancel") << int(Rewritten) << int(A::Cancel) << true << false << false;
    QTest::newRow("rewritten, Save As") << int(Rewritten) << int(A::SaveAs) << true << false << true;
    QTest::newRow("grown, Cancel") << int(Grown) << int(A::Cancel) << true << false << false;
}

void TestRomOnDisk::saveAsksWhenChanged()
{
    QFETCH(int, change);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, oursOnDisk);
    QFETCH(bool, savedElsewhere);
    CatalogueFixture files;
    TestDir recovery;
    Editor e(files, recovery.path());
    const QString rom = files.dir.file("rom.gbc");
    QVERIFY(e.session.loadRom(rom).isDone());
    QVERIFY(e.session.pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
    e.paint();
    changeFile(rom, Change(change));
    const QByteArray theirs = files.dir.read("rom.gbc");
    const QByteArray ours = e.session.imageAsSaved();

    e.prompts.answer(Prompts::Answer(answer));
    e.prompts.chooseFile(files.dir.file("other.gbc"));
    const SessionOutcome saved = e.session.saveRom();

    const QString question = "rom.gbc has been changed on disk by another program since it was loaded or saved. "
                             "Overwrite it, save the image to another file, or cancel?";
    QCOMPARE(e.prompts.texts().contains(question), asked);
    QCOMPARE(files.dir.read("rom.gbc"), oursOnDisk ? ours : theirs);
    QCOMPARE(QFile::exists(files.dir.file("other.gbc")), savedElsewhere);
    if (savedElsewhere)
        QCOMPARE(files.dir.read("other.gbc"), ours);
    QCOMPARE(saved.isDone(), oursOnDisk || savedElsewhere);
    QCOMPARE(e.session.isModified(), !saved.isDone());
    // Told of the change once: back in the window, no offer to load it again.
    e.prompts.shown.clear();
    e.session.checkRomOnDisk();
    QVERIFY2(e.prompts.shown.empty(), qPrintable(e.prompts.texts().join('|')));

    // What this editor wrote is what it knows of the file: the next save asks nothing.
    if (oursOnDisk) {
        e.prompts.shown.clear();
        e.paint();
        QVERIFY(e.session.saveRom().isDone());
        QVERIFY(e.prompts.shown.empty());
    }
}

void TestRomOnDisk::activationNoticesChange_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("said");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("reloaded");

    using A = Prompts::Answer;
    QTest::newRow("untouched") << int(Untouched) << false << int(A::Yes) << false << false << false;
    QTest::newRow("touched only") << int(Touched) << false << int(A::Yes) << false << false << false;
    QTest::newRow("rewritten, nothing unsaved, Yes") << int(Rewritten) << false << int(A::Yes) << true << true << true;
    QTest::newRow("rewritten, nothing unsaved, No") << int(Rewritten) << false << int(A::No) << true << true << false;
    QTest::newRow("grown, unsaved work: said, not asked") << int(Grown) << true << int(A::Yes) << true << false << false;
}

void TestRomOnDisk::activationNoticesChange()
{
    QFETCH(int, change);
    QFETCH(bool, unsaved);
    QFETCH(int, answer);
    QFETCH(bool, said);
    QFETCH(bool, asked);
    QFETCH(bool, reloaded);
    CatalogueFixture files;
    TestDir recovery;
    Editor e(files, recovery.path());
    const QString rom = files.dir.file("rom.gbc");
    QVERIFY(e.session.loadRom(rom).isDone());
    QVERIFY(e.session.pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
    if (unsaved)
        e.paint();
    const QByteArray before = e.state.core.rom.bytes();
    changeFile(rom, Change(change));
    QSignalSpy status(&e.session, &EditorSession::statusText);
    e.prompts.answer(Prompts::Answer(answer));

    // Activated twice: each change is said and asked about once.
    e.session.checkRomOnDisk();
    e.session.checkRomOnDisk();

    const QString note = "rom.gbc has been changed on disk by another program.";
    QCOMPARE(status.count(), said ? 1 : 0);
    if (said)
        QCOMPARE(status.at(0).at(0).toString(), note);
    QCOMPARE(e.prompts.texts(), asked ? QStringList{"rom.gbc has been changed on disk by another program. Load it again?"}
                                      : QStringList{});
    QCOMPARE(e.state.core.rom.bytes(), reloaded ? files.dir.read("rom.gbc") : before);
    QCOMPARE(e.session.isModified(), unsaved);
}

void TestRomOnDisk::lockBetweenEditors_data()
{
    QTest::addColumn<QByteArray>("lock");    // left in the folder before the first load (null: none); %1: this process
    QTest::addColumn<bool>("old");           // the lock written long before the machine was started
    QTest::addColumn<bool>("firstHolds");

    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    QTest::newRow("no lock") << QByteArray() << false << true;
    QTest::newRow("left by an ended process") << QByteArray::number(endedProcess()) + '\n' + host + '\n' << false
                                              << true;
    // A lock that names no process may be a running editor's.
    QTest::newRow("unreadable") << QByteArray("not a process\n") << false << false;
    QTest::newRow("empty") << QByteArray("") << false << false;
    QTest::newRow("empty, from before the machine started") << QByteArray("") << true << true;
    QTest::newRow("a running process of this machine") << QByteArray("%1\n") + host + '\n' << false << false;
    QTest::newRow("a process of another machine") << QByteArray::number(endedProcess()) + "\nelsewhere.example\n"
                                                  << true << false;
}

void TestRomOnDisk::lockBetweenEditors()
{
    QFETCH(QByteArray, lock);
    QFETCH(bool, old);
    QFETCH(bool, firstHolds);
    CatalogueFixture files;
    TestDir recovery;
    const QString rom = files.dir.file("rom.gbc");
    const QString lockPath = RomLock::lockPath(recovery.path(), rom);
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
    if (!lock.isNull())
        recovery.write(QFileInfo(lockPath).fileName(), QByteArray(lock).replace("%1", pid));
    if (old) {
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime));
    }
    const QString told = QStringLiteral("rom.gbc is open in another Kartola (process %1): saving in both loses "
                                        "the changes of one of them.");

    auto first = std::make_unique<Editor>(files, recovery.path());
    QVERIFY(first->session.loadRom(rom).isDone());
    QCOMPARE(first->prompts.texts().size(), firstHolds ? 0 : 1);
    if (!firstHolds)
        return;
    QCOMPARE(recovery.read(QFileInfo(lockPath).fileName()).split('\n').value(0), pid);

    // A second editor is told; the first one's mark stays until it ends.
    Editor second(files, recovery.path());
    QVERIFY(second.session.loadRom(rom).isDone());
    QCOMPARE(second.prompts.texts(), QStringList{told.arg(QString::fromLatin1(pid))});
    first.reset();
    QVERIFY(!QFile::exists(lockPath));
    // Loading the file again, the second editor now holds it.
    second.prompts.shown.clear();
    QVERIFY(second.session.loadRom(rom).isDone());
    QVERIFY(second.prompts.shown.empty());
    QVERIFY(QFile::exists(lockPath));
}

// A lock that cannot be written on a full disk is not left empty for the
// next editor to take over: that editor holds the file, and the two keep
// recovery copies of their own.
void TestRomOnDisk::lockOnFullDisk()
{
    CatalogueFixture files;
    TestDir recovery;
    const QString rom = files.dir.file("rom.gbc");
    const QString lockPath = RomLock::lockPath(recovery.path(), rom);
    Editor first(files, recovery.path());
    {
        const LowDiskSpace full(0);
        QVERIFY(first.session.loadRom(rom).isDone());
    }
    QVERIFY(!QFile::exists(lockPath));
    QCOMPARE(QDir(recovery.path()).entryList(QDir::Files), QStringList{});
    Editor second(files, recovery.path());
    QVERIFY(second.session.loadRom(rom).isDone());
    QVERIFY(QFile::exists(lockPath));
    QVERIFY(first.session.recovery().filePath() != second.session.recovery().filePath());
}

void TestRomOnDisk::recoveryCopiesKeptApart()
{
    CatalogueFixture files;
    TestDir recovery;
    const QString rom = files.dir.file("rom.gbc");
    auto first = std::make_unique<Editor>(files, recovery.path());
    Editor second(files, recovery.path());
    for (Editor* e : {first.get(), &second}) {
        QVERIFY(e->session.loadRom(rom).isDone());
        QVERIFY(e->session.pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
        e->paint();
        e->session.recovery().writeNow();
        e->session.recovery().settle();
    }
    const QString firstCopy = first->session.recovery().filePath();
    const QString secondCopy = second.session.recovery().filePath();
    QVERIFY(firstCopy != secondCopy);
    QVERIFY(QFile::exists(firstCopy) && QFile::exists(secondCopy));

    // Either editor's discard or save removes its own copy only.
    QVERIFY(second.session.saveRom().isDone());
    QVERIFY(QFile::exists(firstCopy));
    QVERIFY(!QFile::exists(secondCopy));
    second.paint();
    second.session.recovery().writeNow();
    second.session.recovery().settle();
    first->prompts.answer(Prompts::Answer::Discard);
    QVERIFY(first->session.maySetAside());
    QVERIFY(!QFile::exists(firstCopy));
    QVERIFY(QFile::exists(secondCopy));

    // An editor that ended without removing its copy (a crash) left it under
    // its own tag; the next editor to hold the file is offered it.
    const QString stray =
        QDir(recovery.path()).filePath(RecoveryFile::fileNameFor(rom, QStringLiteral("%1-1").arg(endedProcess())));
    QVERIFY(QFile::rename(secondCopy, stray));
    first.reset();
    Editor third(files, recovery.path());
    third.prompts.answer(Prompts::Answer::No);
    QVERIFY(third.session.loadRom(rom).isDone());
    QVERIFY2(third.prompts.lastText().startsWith("Kartola was closed without saving changes to rom.gbc"),
             qPrintable(third.prompts.lastText()));
    QVERIFY(!QFile::exists(stray));
}

enum Failure { RecoveryFolder, RecoveryCopy, PlayFolder };

void TestRomOnDisk::messagesNameTheFile_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("message");   // %1: the test's folder
    QTest::newRow("recovery folder cannot be made") << int(RecoveryFolder)
        << "Cannot write the recovery copy %1/rom.gbc/copies/%2: cannot create folder %1/rom.gbc/copies";
    QTest::newRow("recovery copy cannot be written") << int(RecoveryCopy)
        << "Cannot write the recovery copy %1/copies/%2: ";
    QTest::newRow("Test Play folder cannot be made") << int(PlayFolder)
        << "Cannot create a temporary folder in %1/rom.gbc for the image to play.";
}

void TestRomOnDisk::messagesNameTheFile()
{
    QFETCH(int, failure);
    QFETCH(QString, message);
    CatalogueFixture files;
    const QString rom = files.dir.file("rom.gbc");
    // Nothing can be made inside a file, not even by root.
    const QString folder = files.dir.file(failure == RecoveryFolder ? "rom.gbc/copies" : "copies");
    Editor e(files, folder);
    QVERIFY(e.session.loadRom(rom).isDone());
    QVERIFY(e.session.pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
    e.paint();
    const QString expected = QString(message)
                                 .replace("%1", files.dir.path())
                                 .replace("%2", QFileInfo(e.session.recovery().filePath()).fileName());
    QString said;
    if (failure == PlayFolder) {
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", rom.toUtf8());
        TestPlay play;
        said = play.start(e.session, QStringLiteral("true")).refusal;
        qputenv("TMPDIR", tmp);
    } else {
        // The copy's name is taken by a folder.
        if (failure == RecoveryCopy)
            QVERIFY(QDir().mkpath(QDir(folder).filePath(RecoveryFile::fileNameFor(rom)) + "/taken"));
        QSignalSpy status(&e.session, &EditorSession::statusText);
        e.session.recovery().writeNow();
        e.session.recovery().settle();
        QTRY_COMPARE(status.count(), 1);
        said = status.at(0).at(0).toString();
    }
    QVERIFY2(said.startsWith(expected), qPrintable(said));
}

QTEST_MAIN(TestRomOnDisk)
#include "tst_rom_on_disk.moc"
