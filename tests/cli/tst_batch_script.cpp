// `kartola ROM --script FILE`: what the batch run prints, its exit status,
// and that OUT is written only by a script that finished and changed the image.
// The scripts run as the program runs them, each in a process of its own
// under a memory bound.
#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "script/script_job.h"
#include "support/catalogue_fixture.h"

#include <QFileInfo>
#include <QTextStream>
#include <QtTest>

class TestBatchScript : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ScriptJob::runInProcesses(QStringLiteral(KARTOLA_PROGRAM)); }
    void runs_data();
    void runs();
};

void TestBatchScript::runs_data()
{
    QTest::addColumn<QString>("source");      // null: no script file at all
    QTest::addColumn<QStringList>("options");   // besides ROM and --script; OUT stands for the output file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");         // FILE stands for the script's path; "*": any one line
    QTest::addColumn<int>("firstByte");       // of OUT; -1: OUT is not written

    const QString none;
    const QStringList out{"--output", "OUT"};
    const QString change = QStringLiteral("log('set'); rom.setByte(0, 0xAB); log('done')");
    QTest::newRow("a change written to OUT") << change << out << 0 << "set\ndone\n" << none << 0xAB;
    QTest::newRow("a change without --output") << change << QStringList{} << 1 << "set\ndone\n" << "*" << -1;
    QTest::newRow("nothing changed, no --output") << "log(rom.size)" << QStringList{} << 0 << "65536\n" << none << -1;
    QTest::newRow("arguments") << "log(args.join('|'))" << QStringList{"--arg", "a", "--arg", "b c"} << 0 << "a|b c\n"
                               << none << -1;
    QTest::newRow("an error") << "rom.setByte(0, 1); log('x');\nthrow new Error('bad')" << out << 1 << "x\n"
                              << "FILE:2: bad\n" << -1;
    QTest::newRow("timed out") << "rom.setByte(0, 1); while (true) {}" << (out + QStringList{"--script-timeout", "1"})
                               << 1 << none << "*" << -1;
    // Past the bound: one line, nothing written, whichever way the engine
    // finds the memory gone.
    const QStringList bound = out + QStringList{"--script-memory", "200"};
    QTest::newRow("objects past the memory bound")
        << "rom.setByte(0, 1); log('x'); var a = [];\nwhile (true) a.push([1, 2, 3, 4, 5, 6, 7, 8]);" << bound << 1
        << "x\n" << "FILE: out of memory.\n" << -1;
    QTest::newRow("buffers past the memory bound")
        << "rom.setByte(0, 1); var a = [];\nwhile (true) a.push(new ArrayBuffer(50000000));" << bound << 1 << none
        << "FILE:2: ArrayBuffer: out of memory\n" << -1;
    QTest::newRow("buffers within the memory bound")
        << "rom.setByte(0, 0xAB); var a = [];\nfor (var i = 0; i < 5; ++i) a.push(new ArrayBuffer(20000000));" << bound
        << 0 << none << none << 0xAB;
    QTest::newRow("no script file") << QString() << out << 1 << none << "*" << -1;
}

void TestBatchScript::runs()
{
    QFETCH(QString, source);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, firstByte);
#ifdef __SANITIZE_ADDRESS__
    // AddressSanitizer's own allocator ends the child at the bound before the
    // engine can say why: still one line, exit 1 and nothing written.
    if (err.contains(QStringLiteral("ArrayBuffer: out of memory")))
        err = QStringLiteral("*");
#endif

    CatalogueFixture fixture;
    const QString script = fixture.dir.file("s.js");
    const QString output = fixture.dir.file("out.gbc");
    if (!source.isNull())
        fixture.dir.write("s.js", source.toUtf8());
    options.replaceInStrings(QStringLiteral("OUT"), output);
    const CommandLine line = parseCommandLine(QStringList{"kartola", "--catalogue", fixture.dir.path(),
                                                          fixture.dir.file("rom.gbc"), "--script", script} +
                                              options);
    QCOMPARE(line.action, CommandLine::Action::RunScript);

    QString printed;
    QString problems;
    QTextStream outStream(&printed);
    QTextStream errStream(&problems);
    QCOMPARE(runBatch(line, QString(), outStream, errStream), status);
    QCOMPARE(printed, out);
    if (err == QStringLiteral("*")) {
        QCOMPARE(problems.count(QLatin1Char('\n')), 1);
        QVERIFY(problems.endsWith(QLatin1Char('\n')));
    } else {
        QCOMPARE(problems, QString(err).replace(QStringLiteral("FILE"), script));
    }

    const QByteArray rom = fixture.dir.read("rom.gbc");
    QCOMPARE(rom, TestDir::patternRom(CatalogueFixture::RomSize));   // ROM itself stays as it was
    QCOMPARE(QFileInfo::exists(output), firstByte >= 0);
    if (firstByte >= 0) {
        const QByteArray written = fixture.dir.read("out.gbc");
        QCOMPARE(quint8(written.at(0)), quint8(firstByte));
        QCOMPARE(written.mid(1), rom.mid(1));
    }
}

QTEST_GUILESS_MAIN(TestBatchScript)
#include "tst_batch_script.moc"
