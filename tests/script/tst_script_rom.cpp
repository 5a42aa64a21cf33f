// The bytes of the image as a script reads and writes them, and what a
// script's end does with them.
#include "script/script_run.h"

#include <QtTest>

class TestScriptRom : public QObject {
    Q_OBJECT
private slots:
    void runs_data();
    void runs();
};

void TestScriptRom::runs_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("image");   // after the run; empty: the run failed
    QTest::addColumn<QString>("output");     // the log, or the error
    const QByteArray start("\x00\x01\x02\x03", 4);
    QTest::newRow("read and log") << "log(rom.size, rom.byte(3), rom.bytes(1, 2))" << start << "4 3 [1,2]";
    QTest::newRow("write") << "rom.setByte(0, 255); rom.setBytes(2, [7, 8]); log(rom.byte(0))"
                           << QByteArray("\xFF\x01\x07\x08", 4) << "255";
    QTest::newRow("past the image") << "rom.setByte(1, 9);\nrom.setByte(4, 1)" << QByteArray()
                                    << "s.js:2: offset 4 is not a whole number from 0 to 3";
    QTest::newRow("a byte of 300") << "rom.setBytes(0, [1, 300])" << QByteArray()
                                   << "s.js:1: byte 300 is not a whole number from 0 to 255";
    QTest::newRow("a run past the end") << "rom.setBytes(3, [1, 2])" << QByteArray()
                                        << "s.js:1: offset 3 is not a whole number from 0 to 2";
    QTest::newRow("arguments") << "log(args.length, args[1])" << start << "2 b";
    QTest::newRow("no files") << "readFile('/etc/passwd')" << QByteArray()
                              << "s.js:1: readFile is not defined";
    // Each part as String() or JSON.stringify() gives it when logged, the
    // lines whole and in order however many go together.
    QTest::newRow("log's parts") << "log('a', undefined); log(); log(null, true, -0, 0.1 + 0.2, 1e21, 'x y');\n"
                                    "var o = {v: [1]}; log(o); o.v = 2; log(Symbol('s'), [], {toJSON: function () {}})"
                                 << start << "a undefined\n\nnull true 0 0.30000000000000004 1e+21 x y\n"
                                             "{\"v\":[1]}\nSymbol(s) [] undefined";
    QStringList many;
    for (int i = 0; i < 2500; ++i)
        many << QString::number(i * 0.5);
    QTest::newRow("many lines") << "for (var i = 0; i < 2500; ++i) log(i * 0.5)" << start << many.join(QLatin1Char('\n'));
    // Lines of more parts than the script keeps before it hands them over.
    const QString wide = QStringList(9000, QStringLiteral("7")).join(QLatin1Char(' '));
    QTest::newRow("long lines") << "for (var i = 0; i < 3; ++i) log.apply(null, new Array(9000).fill(7)); log('end')"
                                << start << QStringList{wide, wide, wide, "end"}.join(QLatin1Char('\n'));
    QTest::newRow("a string thrown") << "log(1);\n\nthrow 'no'" << QByteArray() << "s.js:3: no";
}

void TestScriptRom::runs()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, image);
    QFETCH(QString, output);
    QStringList lines;
    const ScriptResult result = runScript({QStringLiteral("s.js"), source, {QStringLiteral("a"), QStringLiteral("b")},
                                           QByteArray("\x00\x01\x02\x03", 4), QString()},
                                          [&](const QString& line) { lines << line; });
    QCOMPARE(result.end, image.isEmpty() ? ScriptResult::End::Failed : ScriptResult::End::Finished);
    QCOMPARE(image.isEmpty() ? result.error : lines.join(QLatin1Char('\n')), output);
    if (!image.isEmpty())
        QCOMPARE(result.image, image);
    else
        QVERIFY(result.image.isEmpty());
}

QTEST_GUILESS_MAIN(TestScriptRom)
#include "tst_script_rom.moc"
