// --export-pictures into a folder that fills: said once, and the run stops
// with status 1 instead of one failure line for every map left.
#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "support/catalogue_fixture.h"
#include "support/low_disk_space.h"

#include <QDir>
#include <QTextStream>
#include <QtTest>

class TestPicturesFullDisk : public QObject {
    Q_OBJECT
private slots:
    void fullFolderStops_data();
    void fullFolderStops();
};

void TestPicturesFullDisk::fullFolderStops_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("one thread") << 1;
    QTest::newRow("two threads") << 2;
}

void TestPicturesFullDisk::fullFolderStops()
{
    QFETCH(int, threads);
    CatalogueFixture fixture;
    const QString folder = fixture.dir.file("pictures");
    const CommandLine line = parseCommandLine({"kartola", "--catalogue", fixture.dir.path(), fixture.dir.file("rom.gbc"),
                                               "--threads", QString::number(threads), "--export-pictures", folder});
    QString printed;
    QString problems;
    QTextStream out(&printed);
    QTextStream err(&problems);
    {
        const LowDiskSpace full(0);
        QCOMPARE(runBatch(line, QString(), out, err), 1);
    }
    // Alpha Town is the first of the four maps.
    const QStringList lines = problems.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("[1/4] Alpha Town"));
    QCOMPARE(lines.at(1), QStringLiteral("Cannot create file %1/Alpha Town.png").arg(folder));
    QCOMPARE(lines.at(2), QStringLiteral("Cannot write to folder %1: No space left on device; 3 more maps were not drawn.")
                              .arg(folder));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{});
    QCOMPARE(printed, QString());
}

QTEST_GUILESS_MAIN(TestPicturesFullDisk)
#include "tst_pictures_full_disk.moc"
