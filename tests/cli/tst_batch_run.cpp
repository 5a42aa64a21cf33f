// Batch work in this process on the small catalogue: the exit status of
// --export-pictures says whether every map went through.
#include "cli/batch_run.h"
#include "support/catalogue_fixture.h"

#include <QDir>
#include <QTextStream>
#include <QtTest>

class TestBatchRun : public QObject {
    Q_OBJECT
private slots:
    void exportPicturesStatus_data();
    void exportPicturesStatus();
};

void TestBatchRun::exportPicturesStatus_data()
{
    QTest::addColumn<bool>("gammaListed");   // a listed map without a Maps.Ini section
    QTest::addColumn<QString>("blocked");    // a picture in the way of a folder
    QTest::addColumn<int>("status");
    QTest::newRow("every map") << false << QString() << 0;
    QTest::newRow("a map refused") << true << QString() << 1;
    QTest::newRow("a picture not written") << false << "Beta Town.png" << 1;
}

void TestBatchRun::exportPicturesStatus()
{
    QFETCH(bool, gammaListed);
    QFETCH(QString, blocked);
    QFETCH(int, status);
    CatalogueFixture files;
    if (!gammaListed)
        files.dir.write("Main.Ini", "[Towns]\r\n1=Alpha Town\r\n2=Beta Town\r\n[Routes]\r\n1=Route 1\r\n");
    const QString folder = files.dir.file("pictures");
    QVERIFY(QDir().mkpath(folder + QLatin1Char('/') + blocked));
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const CommandLine line = parseCommandLine({"kartola", files.dir.file("rom.gbc"), "--export-pictures", folder});
    QCOMPARE(runBatch(line, files.dir.path(), outStream, errStream), status);
    // The other maps are written all the same.
    QCOMPARE(QDir(folder).entryList({"*.png"}, QDir::Files).size(), blocked.isEmpty() ? 3 : 2);
}

QTEST_GUILESS_MAIN(TestBatchRun)
#include "tst_batch_run.moc"
