// The installed program as a user starts it: help, version, wrong usage and
// batch work, run as a separate process on the demo data.
#include "demo_data.h"
#include "catalogue/ini_file.h"
#include "support/test_files.h"

#include <QProcess>
#include <QtTest>

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void answersWithoutWindow_data();
    void answersWithoutWindow();
    void listMaps();

private:
    struct Run {
        int status = -1;
        QString out;
        QString err;
    };
    // Runs the program with no display at all: a window, or even the
    // creation of the windowed application, makes it fail.
    Run run(const QStringList& arguments) const;
    QStringList onDemo(const QStringList& arguments) const;
    QString rom() const { return m_dir.file(QStringLiteral("demo.gbc")); }

    TestDir m_dir;
};

void TestProgram::initTestCase()
{
    QString error;
    QVERIFY2(writeDemoData(m_dir.path(), &error), qPrintable(error));
}

TestProgram::Run TestProgram::run(const QStringList& arguments) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KARTOLA_PROGRAM), arguments);
    Run result;
    // A guard against a program that never ends, not a measure of speed.
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QStringList TestProgram::onDemo(const QStringList& arguments) const
{
    return QStringList{QStringLiteral("--catalogue"), m_dir.path(), rom()} + arguments;
}

void TestProgram::answersWithoutWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");   // stdout starts with this; empty: stdout empty
    QTest::addColumn<QString>("err");   // stderr contains this; empty: stderr empty

    const QString usage = QStringLiteral("Usage: kartola [options] [ROM]");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
    QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString();
    QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringLiteral("Kartola 1.3\n") << QString();
    QTest::newRow("-v") << QStringList{"-v"} << 0 << QStringLiteral("Kartola 1.3\n") << QString();
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2 << QString() << usage;
    QTest::newRow("batch without ROM") << QStringList{"--list-maps"} << 2 << QString() << usage;
    QTest::newRow("two actions") << QStringList{"x.gbc", "--list-maps", "--check"} << 2 << QString() << usage;
    QTest::newRow("map picture without FILE")
        << QStringList{"x.gbc", "--export-map-picture", "Town"} << 2 << QString() << usage;
    QTest::newRow("import without --output")
        << QStringList{"x.gbc", "--import-map", "Town", "t.map"} << 2 << QString() << usage;
    QTest::newRow("missing ROM") << QStringList{"/nonexistent/x.gbc", "--list-maps"} << 1 << QString()
                                 << QStringLiteral("Cannot open file /nonexistent/x.gbc");
}

void TestProgram::answersWithoutWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run result = run(arguments);
    QCOMPARE(result.status, status);
    if (out.isEmpty())
        QCOMPARE(result.out, QString());
    else
        QVERIFY2(result.out.startsWith(out), qPrintable(result.out));
    if (err.isEmpty())
        QCOMPARE(result.err, QString());
    else
        QVERIFY2(result.err.contains(err), qPrintable(result.err));
}

void TestProgram::listMaps()
{
    const Run result = run(onDemo({QStringLiteral("--list-maps")}));
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QString());
    // Chooser order: categories in file order, each with its numbered maps.
    const IniFile mainIni(m_dir.file(QStringLiteral("Main.Ini")));
    QStringList expected;
    for (const QString& category : mainIni.sections())
        for (int k = 1; k <= mainIni.keys(category).size(); ++k)
            expected << category + QLatin1Char('\t') + mainIni.readString(category, QString::number(k));
    QVERIFY(expected.size() > 3);
    QCOMPARE(result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
