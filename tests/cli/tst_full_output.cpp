// The program's reports written to a standard output that takes nothing
// (/dev/full, as a full disk does): the run fails with one line on standard
// error, and a script whose log cannot be written writes no image either.
#include "support/catalogue_fixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QtTest>

class TestFullOutput : public QObject {
    Q_OBJECT
private slots:
    void failedReportFails_data();
    void failedReportFails();
};

void TestFullOutput::failedReportFails_data()
{
    QTest::addColumn<QStringList>("action");   // OUT stands for the image file a script writes
    QTest::addColumn<bool>("writesImage");
    QTest::newRow("--check") << QStringList{"--check"} << false;
    QTest::newRow("--list-maps") << QStringList{"--list-maps"} << false;
    QTest::newRow("a script's log") << QStringList{"--script", "s.js", "--output", "OUT"} << true;
}

void TestFullOutput::failedReportFails()
{
    QFETCH(QStringList, action);
    QFETCH(bool, writesImage);
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    CatalogueFixture fixture;
    fixture.dir.write("s.js", "log('changing'); rom.setByte(0, 0xAB); log('done')");
    const QString image = fixture.dir.file("out.gbc");
    action.replaceInStrings(QStringLiteral("OUT"), image);
    action.replaceInStrings(QStringLiteral("s.js"), fixture.dir.file("s.js"));
    const QStringList arguments = QStringList{"--catalogue", fixture.dir.path(), fixture.dir.file("rom.gbc")} + action;

    struct Run {
        int status = -1;
        QString err;
    };
    const auto run = [&](const QString& output) {
        QProcess process;
        process.setStandardOutputFile(output);
        process.start(QStringLiteral(KARTOLA_PROGRAM), arguments);
        Run result;
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
            result.status = process.exitCode();
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    };

    // Written to a file, the report is there and the run ends as it should.
    const Run sound = run(fixture.dir.file("report.txt"));
    QVERIFY(!fixture.dir.read("report.txt").isEmpty());
    QCOMPARE(QFileInfo::exists(image), writesImage);
    QVERIFY(!writesImage || sound.status == 0);
    QFile::remove(image);

    const Run full = run(QStringLiteral("/dev/full"));
    QCOMPARE(full.status, 1);
    QVERIFY2(full.err.startsWith(sound.err + QStringLiteral("Cannot write to standard output: ")), qPrintable(full.err));
    QCOMPARE(full.err.count(QLatin1Char('\n')), sound.err.count(QLatin1Char('\n')) + 1);
    QVERIFY(!QFileInfo::exists(image));
}

QTEST_GUILESS_MAIN(TestFullOutput)
#include "tst_full_output.moc"
