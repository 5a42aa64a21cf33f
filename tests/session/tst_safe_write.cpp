// Every file the editor writes is written whole or not at all: on a full
// disk the old file stays byte for byte and the caller hears of it. Also the
// .bak copy kept before the first save of a ROM file in a run.
#include "session/editor_session.h"
#include "base/ini_file.h"
#include "model/rom/rom_backups.h"
#include "model/rom/rom_image.h"
#include "base/safe_write.h"
#include "model/map/bmp_writer.h"
#include "support/low_disk_space.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <unistd.h>

namespace {

// One kind of write, as the editor does it: returns the message it reports
// (empty on success).
using Writer = std::function<QString(const QString& path)>;

QString writeIni(const QString& path)
{
    QString error;
    IniFile ini(path);
    ini.writeBool(QStringLiteral("Settings"), QStringLiteral("Grid"), true, &error);
    return error;
}

QString writeRom(const QString& path)
{
    RomImage rom;
    rom.setBytes(QByteArray(300, '\x5A'));
    QString error;
    rom.saveToFile(path, &error);
    return error;
}

QString writePicture(const QString& path)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QString error;
    writeBmp24(path, image, &error);
    return error;
}

QString writeBytes(const QString& path)
{
    QString reason;
    return writeFileAtomically(path, QByteArray(500, 'm'), &reason) ? QString() : QStringLiteral("failed: ") + reason;
}

using FreeBytes = LowDiskSpace;

// A small tmpfs mounted for the test, or nothing when this process may not mount.
class SmallDisk {
public:
    explicit SmallDisk(const QString& where) : m_path(where)
    {
        if (geteuid() != 0)
            return;
        QDir().mkpath(where);
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                                      {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                       QStringLiteral("size=64k"), QStringLiteral("tmpfs"), where}) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_path});
    }
    bool mounted() const { return m_mounted; }
    // Fills what is left of the disk with one file.
    void fill() const
    {
        QFile filler(m_path + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.write(QByteArray(1, 'f'));
        while (filler.write(QByteArray(1, 'f')) == 1) {
        }
    }

private:
    QString m_path;
    bool m_mounted = false;
};

} // namespace

class TestSafeWrite : public QObject {
    Q_OBJECT
private slots:
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void realFullDiskKeepsOldFile_data() { fullDiskKeepsOldFile_data(); }
    void realFullDiskKeepsOldFile();
    void writesThatFitGoThrough();
    void backupKeptOncePerRun();
    void backupFailureRefusesSave();
    void noBackupForANewFile();
    void saveRomSaysOnceThatTheBackupWasKept();
};

void TestSafeWrite::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("message"); // %1: the path
    QTest::newRow("catalogue") << "Critters.ini" << Writer(writeIni) << "Unable to write to %1";
    QTest::newRow("rom") << "rom.gbc" << Writer(writeRom) << "Cannot create file %1";
    QTest::newRow("picture") << "map.DIB" << Writer(writePicture) << "Cannot create file %1";
    QTest::newRow("bytes") << "Alpha.map" << Writer(writeBytes) << "failed: No space left on device";
}

void TestSafeWrite::fullDiskKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(Writer, writer);
    QFETCH(QString, message);
    TestDir dir;
    const QByteArray old = "[Settings]\r\nGrid=0\r\n" + QByteArray(180, ';');
    dir.write(name, old);
    for (qint64 room : {0, 1, 10, 199}) {
        FreeBytes full(room);
        QCOMPARE(writer(dir.file(name)), message.arg(dir.file(name)));
        QCOMPARE(dir.read(name), old);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    }
}

void TestSafeWrite::realFullDiskKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(Writer, writer);
    QFETCH(QString, message);
    TestDir dir;
    SmallDisk disk(dir.file(QStringLiteral("disk")));
    if (!disk.mounted())
        QSKIP("no permission to mount a small tmpfs here");
    const QString path = dir.file(QStringLiteral("disk/") + name);
    const QByteArray old = "[Settings]\r\nGrid=0\r\n" + QByteArray(180, ';');
    dir.write(QStringLiteral("disk/") + name, old);
    disk.fill();
    const QString reported = writer(path);
    if (message.contains(QLatin1String("%1")))
        QCOMPARE(reported, message.arg(path));
    else
        QVERIFY2(reported.startsWith(QLatin1String("failed: ")), qPrintable(reported));
    QCOMPARE(dir.read(QStringLiteral("disk/") + name), old);
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
    QCOMPARE(error, QStringLiteral("Cannot create file %1").arg(dir.file("rom.gbc.bak")));
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
    }));
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
