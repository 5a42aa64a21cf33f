// The Debian package as cpack makes it from this build, checked by lintian.
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestPackage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lintianFindsNothing_data();
    void lintianFindsNothing();

private:
    QTemporaryDir m_output;
    QStringList m_report; // one line per tag lintian gave
};

namespace {

int run(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.start(program, arguments);
    // A guard against a tool that never ends, not a measure of speed.
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    *output = QString::fromUtf8(process.readAllStandardOutput());
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (process.exitCode() != 0)
        *output += errors;
    return process.exitCode();
}

} // namespace

void TestPackage::initTestCase()
{
    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    if (lintian.isEmpty())
        QSKIP("lintian is not installed");
    QVERIFY(m_output.isValid());
    QString output;
    const int built = run(QStringLiteral(KARTOLA_CPACK),
                          {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                           QStringLiteral(KARTOLA_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"),
                           m_output.path()},
                          &output);
    QVERIFY2(built == 0, qPrintable(output));
    const QStringList packages = QDir(m_output.path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
    QVERIFY2(packages.size() == 1, qPrintable(output));

    // Every tag, down to the pedantic and experimental ones; lintian's exit
    // status is left aside, the tags are judged below.
    run(lintian,
        {QStringLiteral("--pedantic"), QStringLiteral("--display-experimental"), QStringLiteral("--info"),
         QStringLiteral("--fail-on"), QStringLiteral("none"), QDir(m_output.path()).filePath(packages.constFirst())},
        &output);
    m_report = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(!output.contains(QStringLiteral("Traceback")), qPrintable(output));
}

void TestPackage::lintianFindsNothing_data()
{
    // What lintian must not say: the start of a line of its report.
    QTest::addColumn<QString>("tag");
    QTest::newRow("errors") << QStringLiteral("E: ");
    QTest::newRow("warnings") << QStringLiteral("W: ");
    QTest::newRow("pictures under usr/lib") << QStringLiteral("P: kartola: image-file-in-usr-lib");
    QTest::newRow("executables under usr/lib") << QStringLiteral("X: kartola: executable-in-usr-lib");
    QTest::newRow("no BIND_NOW") << QStringLiteral("I: kartola: hardening-no-bindnow");
    QTest::newRow("no PIE") << QStringLiteral("I: kartola: hardening-no-pie");
}

void TestPackage::lintianFindsNothing()
{
    QFETCH(QString, tag);
    QStringList found;
    for (const QString& line : std::as_const(m_report))
        if (line.startsWith(tag))
            found << line;
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
