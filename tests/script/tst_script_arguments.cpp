// The arguments a script declares in its header comment.
#include "script/script_arguments.h"

#include <QtTest>

class TestScriptArguments : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void fits_data();
    void fits();
};

void TestScriptArguments::parses_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("arguments");   // NAME:TYPE:Label, joined by |
    QTest::addColumn<QString>("problem");
    const QString none;
    QTest::newRow("none") << "log(1)" << "" << none;
    QTest::newRow("one") << "// @arg seed number \"Seed of the shuffle\"\nlog(args[0])" << "seed:number:Seed of the shuffle"
                         << none;
    QTest::newRow("in order, among other comments and blank lines")
        << "// Replaces blocks.\n\n//@arg tileset number \"Tileset\"\n  // @arg from number\n// @arg name string \"Map name\"  \nvar x;"
        << "tileset:number:Tileset|from:number:from|name:string:Map name" << none;
    QTest::newRow("after the first line of code") << "var a = 1;\n// @arg late number \"Late\"" << "" << none;
    QTest::newRow("Windows line ends") << "// @arg a string \"A\"\r\n// @arg b number\r\nlog(1)"
                                       << "a:string:A|b:number:b" << none;
    QTest::newRow("an unknown type") << "// @arg a colour \"A\"\nlog(1)" << "" << "1: @arg takes NAME, number or string, and a \"Label\"";
    QTest::newRow("no name") << "// ok\n// @arg\n" << "" << "2: @arg takes NAME, number or string, and a \"Label\"";
    QTest::newRow("an unclosed label") << "// @arg a number \"A\n" << "" << "1: @arg takes NAME, number or string, and a \"Label\"";
    QTest::newRow("twice") << "// @arg a number\n// @arg a string\n" << "a:number:a" << "2: argument a is declared twice";
}

void TestScriptArguments::parses()
{
    QFETCH(QString, source);
    QFETCH(QString, arguments);
    QFETCH(QString, problem);
    const ScriptArguments parsed = scriptArguments(source);
    QStringList got;
    for (const ScriptArgument& a : parsed.list)
        got << a.name + QLatin1Char(':') + a.type + QLatin1Char(':') + a.label;
    QCOMPARE(got.join(QLatin1Char('|')), arguments);
    QCOMPARE(parsed.problem, problem);
}

void TestScriptArguments::fits_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fits");
    QTest::newRow("a whole number") << "number" << "42" << true;
    QTest::newRow("a fraction") << "number" << "-1.5" << true;
    QTest::newRow("a word") << "number" << "ten" << false;
    QTest::newRow("empty") << "number" << "" << false;
    QTest::newRow("infinity") << "number" << "inf" << false;
    QTest::newRow("a word as a string") << "string" << "ten" << true;
}

void TestScriptArguments::fits()
{
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(bool, fits);
    QCOMPARE(scriptArgumentFits(type, value), fits);
}

QTEST_GUILESS_MAIN(TestScriptArguments)
#include "tst_script_arguments.moc"
