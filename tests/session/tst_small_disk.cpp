// Writes onto a real disk with no room left, a small tmpfs mounted for the
// test: the old file stays byte for byte and the caller hears of it. This
// program links no stand-in for the device step, so every write here goes
// through the program's own (base/safe_write_device.cpp).
#include "editor_writes.h"
#include "base/safe_write.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

namespace {

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
        while (filler.write(QByteArray(1, 'f')) == 1) {
        }
    }

private:
    QString m_path;
    bool m_mounted = false;
};

} // namespace

class TestSmallDisk : public QObject {
    Q_OBJECT
private slots:
    void fullDiskKeepsOldFile_data() { addWriterRows(); }
    void fullDiskKeepsOldFile();
    void deviceStep_data();
    void deviceStep();
};

void TestSmallDisk::fullDiskKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(Writer, writer);
    QFETCH(QString, message);
    TestDir dir;
    SmallDisk disk(dir.file(QStringLiteral("disk")));
    if (!disk.mounted())
        QSKIP("no permission to mount a small tmpfs here");
    const QString path = dir.file(QStringLiteral("disk/") + name);
    dir.write(QStringLiteral("disk/") + name, oldContent());
    disk.fill();
    QCOMPARE(writer(path), message.arg(path));
    QCOMPARE(dir.read(QStringLiteral("disk/") + name), oldContent());
    // No temporary file is left behind.
    QStringList files{QStringLiteral("filler"), name};
    files.sort();
    QCOMPARE(QDir(dir.file(QStringLiteral("disk"))).entryList(QDir::Files, QDir::Name), files);
}

// The device step alone: bytes that fit are on the disk when it returns true;
// bytes that do not, whether the write or only the flush finds the disk full,
// give false and the system's reason.
void TestSmallDisk::deviceStep_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("size");
    for (int size : {1, 500, 40000}) {
        QTest::addRow("room, %d bytes", size) << false << size;
        QTest::addRow("full, %d bytes", size) << true << size;
    }
}

void TestSmallDisk::deviceStep()
{
    QFETCH(bool, full);
    QFETCH(int, size);
    TestDir dir;
    SmallDisk disk(dir.file(QStringLiteral("disk")));
    if (!disk.mounted())
        QSKIP("no permission to mount a small tmpfs here");
    if (full)
        disk.fill();
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i % 251);
    QFile file(dir.file(QStringLiteral("disk/out")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QString reason;
    QCOMPARE(putBytesOnDevice(file, bytes, &reason), !full);
    file.close();
    if (full) {
        QCOMPARE(reason, QStringLiteral("No space left on device"));
    } else {
        QCOMPARE(reason, QString());
        QCOMPARE(dir.read(QStringLiteral("disk/out")), bytes);
    }
}

QTEST_GUILESS_MAIN(TestSmallDisk)
#include "tst_small_disk.moc"
