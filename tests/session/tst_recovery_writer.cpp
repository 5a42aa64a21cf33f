// The recovery copy written away from the thread that asks: whole on disk
// whatever moment the writer is killed or its write fails, and never brought
// back by a write asked for before its removal.
#include "session/recovery_writer.h"
#include "support/low_disk_space.h"
#include "support/test_files.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>
#include <cstdio>

namespace {

constexpr qsizetype ImageSize = 4 << 20;

QByteArray image(int step)
{
    QByteArray bytes(ImageSize, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * step + step) >> (i % 3));
    return bytes;
}

const QByteArray& onDisk()
{
    static const QByteArray bytes = image(3);
    return bytes;
}

RecoveryWriter::Snapshot snapshot(const QString& path, int step)
{
    RecoveryInfo info;
    info.romPath = QStringLiteral("/roms/game.gbc");
    info.romSize = onDisk().size();
    info.mapName = QStringLiteral("Map %1").arg(step);
    return {path, onDisk(), image(step), info, {}};
}

// Which of the two images the copy at `path` holds: 0 when it holds neither
// or is damaged.
int heldImage(const QString& path)
{
    const std::optional<QByteArray> file = RecoveryFile::read(path);
    if (!file)
        return 0;
    const RecoveredImage recovered = RecoveryFile::apply(onDisk(), *file);
    for (int step : {5, 7})
        if (recovered.image && *recovered.image == image(step))
            return step;
    return 0;
}

// The child: writes the two images in turn into `path` for ever, and says
// "ready" once the first is on disk.
int keepWriting(const QString& path)
{
    RecoveryWriter writer;
    for (int n = 0;; ++n) {
        writer.write(snapshot(path, n % 2 ? 7 : 5));
        writer.settle();
        if (n == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}

} // namespace

class TestRecoveryWriter : public QObject {
    Q_OBJECT
private slots:
    void copyIsWholeAfterAKillAtAnyMoment();
    void failedWriteKeepsTheOldCopyAndSaysWhy();
    void removalIsNeverUndoneByAnEarlierWrite_data();
    void removalIsNeverUndoneByAnEarlierWrite();
};

void TestRecoveryWriter::copyIsWholeAfterAKillAtAnyMoment()
{
    TestDir dir;
    const QString path = dir.file(QStringLiteral("copy.bps"));
    QRandomGenerator moments(28);
    for (int run = 0; run < 16; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--keep-writing"), path});
        QVERIFY(child.waitForReadyRead(30000));
        QTest::qSleep(int(moments.bounded(400)));
        child.kill();
        QVERIFY(child.waitForFinished(30000));
        const int held = heldImage(path);
        QVERIFY2(held != 0, qPrintable(QStringLiteral("run %1: the copy is damaged").arg(run)));
    }
}

void TestRecoveryWriter::failedWriteKeepsTheOldCopyAndSaysWhy()
{
    TestDir dir;
    const QString path = dir.file(QStringLiteral("copy.bps"));
    RecoveryWriter writer;
    QSignalSpy failed(&writer, &RecoveryWriter::failed);
    writer.write(snapshot(path, 5));
    writer.settle();
    QCOMPARE(heldImage(path), 5);
    {
        // The disk fills up half-way through the new copy.
        const LowDiskSpace disk(QFileInfo(path).size() / 2);
        writer.write(snapshot(path, 7));
        writer.settle();
    }
    QCOMPARE(heldImage(path), 5);
    // The word comes through the event loop of the thread that asked.
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed[0][0].toString(), path);
    QVERIFY2(failed[0][1].toString().contains(QStringLiteral("No space left")), qPrintable(failed[0][1].toString()));
}

void TestRecoveryWriter::removalIsNeverUndoneByAnEarlierWrite_data()
{
    QTest::addColumn<int>("writes");   // asked for just before the removal
    QTest::addColumn<bool>("copyBefore");
    QTest::newRow("one write, maybe under way") << 1 << false;
    QTest::newRow("one under way, one waiting") << 2 << false;
    QTest::newRow("three over an older copy") << 3 << true;
}

void TestRecoveryWriter::removalIsNeverUndoneByAnEarlierWrite()
{
    QFETCH(int, writes);
    QFETCH(bool, copyBefore);
    TestDir dir;
    const QString path = dir.file(QStringLiteral("copy.bps"));
    RecoveryWriter writer;
    if (copyBefore) {
        writer.write(snapshot(path, 5));
        writer.settle();
    }
    for (int n = 0; n < writes; ++n)
        writer.write(snapshot(path, n % 2 ? 5 : 7));
    writer.remove(path);
    QVERIFY(!QFile::exists(path));
    writer.settle();
    QTest::qWait(50);
    QVERIFY(!QFile::exists(path));
    // A write asked for after the removal is made as usual.
    writer.write(snapshot(path, 7));
    writer.settle();
    QCOMPARE(heldImage(path), 7);
}

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--keep-writing") == 0)
        return keepWriting(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestRecoveryWriter test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery_writer.moc"
