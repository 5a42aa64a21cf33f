// Every file the editor writes is written whole or not at all: on a full
// disk the old file stays byte for byte and the caller hears of it. Also the
// .bak copy kept before the first save of a ROM file in a run. The disk here
// is the simulated one of support/low_disk_space; tst_small_disk writes onto
// a real one through the program's own device step.
#include "editor_writes.h"
#include "session/editor_session.h"
#include "base/ini_file.h"
#include "model/rom/rom_backups.h"
#include "model/rom/rom_image.h"
#include "support/low_disk_space.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using FreeBytes = LowDiskSpace;

class TestSafeWrite : public QObject {
    Q_OBJECT
private slots:
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void writesThatFitGoThrough();
    void backupKeptOncePerRun();
    void backupFailureRefusesSave();
    void noBackupForANewFile();
    void saveRomSaysOnceThatTheBackupWasKept();
};

void TestSafeWrite::fullDiskKeepsOldFile_data() { addWriterRows(); }

void TestSafeWrite::fullDiskKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(Writer, writer);
    QFETCH(QString, message);
    TestDir dir;
    const QByteArray old = oldContent();
    dir.write(name, old);
    for (qint64 room : {0, 1, 10, 199}) {
        FreeBytes full(room);
        QCOMPARE(writer(dir.file(name)), message.arg(dir.file(name)));
        QCOMPARE(dir.read(name), old);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    }
}

void TestSafeWrite::writesThatFitGoThrough()
{
    TestDir dir;
    {
        FreeBytes room(1000);
        QCOMPARE(writeBytes(dir.file("a.map")), QString());
        QCOMPARE(room.freeBytes(), qint64(500));
        QCOMPARE(writeBytes(dir.file("b.map")), QString());
        QCOMPARE(writeBytes(dir.file("c.map")), QStringLiteral("failed: No space left on device"));
    }
    QCOMPARE(dir.read("a.map"), QByteArray(500, 'm'));
    QVERIFY(!QFile::exists(dir.file("c.map")));
    // A value the file already holds is not written at all.
    dir.write("x.ini", "[S]\nk = v\n");
    FreeBytes full(0);
    QVERIFY(IniFile(dir.file("x.ini")).writeString("s", "K", "v"));
    QCOMPARE(dir.read("x.ini"), QByteArray("[S]\nk = v\n"));
}

void TestSafeWrite::backupKeptOncePerRun()
{
    TestDir dir;
    dir.write("rom.gbc", "first image");
    dir.write("rom.gbc.bak", "older backup");
    RomBackups backups;
    RomImage rom;
    rom.setBytes("second image");
    bool kept = false;
    QVERIFY(rom.saveToFile(dir.file("rom.gbc"), nullptr, &backups, &kept));
    QVERIFY(kept);
    QCOMPARE(dir.read("rom.gbc.bak"), QByteArray("first image"));
    QCOMPARE(dir.read("rom.gbc"), QByteArray("second image"));
    QCOMPARE(RomBackups::keptMessage(dir.file("rom.gbc")), QStringLiteral("Kept the previous file as rom.gbc.bak"));

    rom.setBytes("third image");
    QVERIFY(rom.saveToFile(dir.file("rom.gbc"), nullptr, &backups, &kept));
    QVERIFY(!kept);
    QCOMPARE(dir.read("rom.gbc.bak"), QByteArray("first image"));
    QCOMPARE(dir.read("rom.gbc"), QByteArray("third image"));

    // Another file has its own first save; a new run keeps a copy again.
    dir.write("other.gb", "other");
    QVERIFY(rom.saveToFile(dir.file("other.gb"), nullptr, &backups, &kept));
    QVERIFY(kept);
    QCOMPARE(dir.read("other.gb.bak"), QByteArray("other"));
    RomBackups nextRun;
    QVERIFY(rom.saveToFile(dir.file("rom.gbc"), nullptr, &nextRun, &kept));
    QVERIFY(kept);
    QCOMPARE(dir.read("rom.gbc.bak"), QByteArray("third image"));
}

void TestSafeWrite::backupFailureRefusesSave()
{
    TestDir dir;
    dir.write("rom.gbc", "first image");
    RomBackups backups;
    RomImage rom;
    rom.setBytes("second image");
    QString error;
    bool kept = true;
    {
        FreeBytes full(0);
        QVERIFY(!rom.saveToFile(dir.file("rom.gbc"), &error, &backups, &kept));
    }
    QVERIFY(!kept);
    QCOMPARE(error, QStringLiteral("Cannot create file %1 (its backup %2 cannot be written)")
                        .arg(dir.file("rom.gbc"), dir.file("rom.gbc.bak")));
    QCOMPARE(dir.read("rom.gbc"), QByteArray("first image"));
    QVERIFY(!QFile::exists(dir.file("rom.gbc.bak")));
    // The next try keeps the copy after all.
    QVERIFY(rom.saveToFile(dir.file("rom.gbc"), &error, &backups, &kept));
    QVERIFY(kept);
    QCOMPARE(dir.read("rom.gbc.bak"), QByteArray("first image"));
}

void TestSafeWrite::noBackupForANewFile()
{
    TestDir dir;
    RomBackups backups;
    RomImage rom;
    rom.setBytes("image");
    bool kept = true;
    QVERIFY(rom.saveToFile(dir.file("new.gbc"), nullptr, &backups, &kept));
    QVERIFY(!kept);
    QVERIFY(!QFile::exists(dir.file("new.gbc.bak")));
    QVERIFY(rom.saveToFile(dir.file("new.gbc"), nullptr, &backups, &kept));
    QVERIFY(!kept); // the file this run created is no previous file
}

void TestSafeWrite::saveRomSaysOnceThatTheBackupWasKept()
{
    TestDir dir;
    dir.write("rom.gbc", TestDir::patternRom(0x800));
    ScriptedPrompts prompts;
    EditorState state(dir.path());
    EditorSession session(state, prompts);
    QSignalSpy status(&session, &EditorSession::statusText);
    QVERIFY(session.loadRom(dir.file("rom.gbc")).isDone());
    QVERIFY(session.editRom(QStringLiteral("patch"), [](RomImage& rom) {
        const char byte = 0x42;
        return rom.writeAt(0x10, &byte, 1);
    }).isDone());
    QVERIFY(session.saveRom().isDone());
    QCOMPARE(status.takeLast().at(0).toString(), QStringLiteral("Saved rom.gbc. Kept the previous file as rom.gbc.bak."));
    QCOMPARE(dir.read("rom.gbc.bak"), TestDir::patternRom(0x800));
    QCOMPARE(dir.read("rom.gbc"), state.core.rom.bytes());
    QVERIFY(session.saveRom().isDone());
    QCOMPARE(status.takeLast().at(0).toString(), QStringLiteral("Saved rom.gbc."));
    QCOMPARE(dir.read("rom.gbc.bak"), TestDir::patternRom(0x800));
    // A save onto a full disk leaves both files and says why.
    FreeBytes full(0);
    QCOMPARE(session.saveRomAs(dir.file("rom.gbc")).refusal, QStringLiteral("Cannot create file %1").arg(dir.file("rom.gbc")));
    QCOMPARE(dir.read("rom.gbc.bak"), TestDir::patternRom(0x800));
    QCOMPARE(dir.read("rom.gbc"), state.core.rom.bytes());
}

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "tst_safe_write.moc"
