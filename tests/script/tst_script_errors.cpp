// The errors that end a script as the user reads them: FILE:LINE of the
// script's own line where the failing call stands, whatever runs beneath it
// (the API's wrappers, JSON, a recursion), and a message that names the
// cause (a value's type, a missing argument, an empty table).
#include "script/script_run.h"
#include "support/catalogue_fixture.h"

#include <QtTest>

class TestScriptErrors : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void errors_data();
    void errors();

private:
    CatalogueFixture fixture;
};

void TestScriptErrors::initTestCase()
{
    fixture.dir.write("Events.ini", "[Alpha Town]\r\nWarps=0\r\nSingposts=0\r\nPeoples=0\r\n");
}

void TestScriptErrors::errors_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("error");   // empty: the script finishes
    const QString a = QStringLiteral("var a = map('Alpha Town');\n");

    QTest::newRow("inside map()") << "log(1);\n\nmap('Nowhere')" << "s.js:3: there is no map \"Nowhere\"";
    QTest::newRow("inside log()") << "var o = {};\no.o = o;\nlog('x', o)" << "s.js:3: *";
    QTest::newRow("a stack overflow") << "log(1);\nfunction f(n) {\n  return f(n + 1) + 1;\n}\nf(0)"
                                      << "s.js:3: Maximum call stack size exceeded.";
    QTest::newRow("in a function called from another line")
        << "function put(v) {\n  rom.setByte(0, v);\n}\nput(1);\nput(-1)"
        << "s.js:2: byte -1 is not a whole number from 0 to 255";
    QTest::newRow("a string for a number") << a + "a.setBlock(0, 0, '3')"
                                           << "s.js:2: block '3' is a string, not a whole number from 0 to 255";
    QTest::newRow("a boolean for a number") << "rom.byte(true)"
                                            << "s.js:1: offset true is a boolean, not a whole number from 0 to 65535";
    QTest::newRow("an object for a number") << "\nrom.setByte({}, 1)"
                                            << "s.js:2: offset an object, not a whole number from 0 to 65535";
    QTest::newRow("a missing argument") << a + "a.setBlock(1, 2)" << "s.js:2: no block given";
    QTest::newRow("no argument at all") << "rom.bytes()" << "s.js:1: no offset given";
    QTest::newRow("a missing time") << "\n\nmap('Route 1').encounter()" << "s.js:3: no time given";
    QTest::newRow("no map name") << "map()" << "s.js:1: no map name given";
    QTest::newRow("no warps") << a + "a.setWarp(1, {x: 1})" << "s.js:2: map \"Alpha Town\" has no warps";
    QTest::newRow("no people") << a + "\na.setPerson(1, {x: 1})" << "s.js:3: map \"Alpha Town\" has no people";
    QTest::newRow("an Error left as the last value") << "rom.setByte(0, 1);\nnew Error('only a value')" << "";
    QTest::newRow("an Error thrown") << "\nthrow new Error('thrown')" << "s.js:2: thrown";
}

void TestScriptErrors::errors()
{
    QFETCH(QString, source);
    QFETCH(QString, error);
    const QByteArray image = TestDir::patternRom(CatalogueFixture::RomSize);
    const ScriptResult result =
        runScript({QStringLiteral("s.js"), source, {}, image, fixture.dir.path()}, [](const QString&) {});
    QCOMPARE(result.end, error.isEmpty() ? ScriptResult::End::Finished : ScriptResult::End::Failed);
    if (error.endsWith(QLatin1Char('*')))
        QVERIFY2(result.error.startsWith(error.chopped(1)), qPrintable(result.error));
    else
        QCOMPARE(result.error, error);
    if (error.isEmpty())
        QVERIFY(result.changed);
}

QTEST_GUILESS_MAIN(TestScriptErrors)
#include "tst_script_errors.moc"
