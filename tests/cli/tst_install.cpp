// Installing into a prefix of its own: the program with its demo data, the
// command in bin, the desktop file, the icons and the AppStream metadata.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestInstall : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void validators_data();
    void validators();
    void installedProgramRuns_data();
    void installedProgramRuns();

private:
    static int runTool(const QString& program, const QStringList& arguments, QString* output);
    QTemporaryDir m_prefix;
};

namespace {
const QString AppId = QStringLiteral(KARTOLA_APP_ID);
}

int TestInstall::runTool(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    // A guard against a tool that never ends, not a measure of speed.
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QString output;
    const int status = runTool(QStringLiteral(KARTOLA_CMAKE),
                               {QStringLiteral("--install"), QStringLiteral(KARTOLA_BUILD_DIR),
                                QStringLiteral("--prefix"), m_prefix.path()},
                               &output);
    QVERIFY2(status == 0, qPrintable(output));
}

void TestInstall::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("program") << QStringLiteral("lib/kartola/kartola");
    QTest::newRow("command") << QStringLiteral("bin/kartola");
    QTest::newRow("demo ROM") << QStringLiteral("lib/kartola/demo.gbc");
    for (const char* file : {"Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini", "Options.ini"})
        QTest::newRow(file) << QStringLiteral("lib/kartola/") + QLatin1String(file);
    QTest::newRow("tile picture") << QStringLiteral("lib/kartola/tiles/outdoor.bmp");
    QTest::newRow("desktop file") << QStringLiteral("share/applications/%1.desktop").arg(AppId);
    QTest::newRow("metadata") << QStringLiteral("share/metainfo/%1.metainfo.xml").arg(AppId);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QStringLiteral("icon %1").arg(size)))
            << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId);
}

void TestInstall::installedFiles()
{
    QFETCH(QString, path);
    const QFileInfo info(QDir(m_prefix.path()).filePath(path));
    QVERIFY2(info.exists(), qPrintable(path));
    if (path.contains(QStringLiteral("/icons/"))) {
        const QImage icon(info.filePath());
        const int size = path.section(QLatin1Char('/'), 3, 3).section(QLatin1Char('x'), 0, 0).toInt();
        QCOMPARE(icon.size(), QSize(size, size));
    }
}

void TestInstall::validators_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop file") << QStringLiteral("desktop-file-validate") << QStringList()
                                  << QStringLiteral("share/applications/%1.desktop").arg(AppId);
    QTest::newRow("metadata") << QStringLiteral("appstreamcli")
                              << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net")}
                              << QStringLiteral("share/metainfo/%1.metainfo.xml").arg(AppId);
}

void TestInstall::validators()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QSKIP(qPrintable(tool + QStringLiteral(" is not installed")));
    QString output;
    const int status = runTool(program, arguments << QDir(m_prefix.path()).filePath(file), &output);
    QVERIFY2(status == 0, qPrintable(output));
}

void TestInstall::installedProgramRuns_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << QStringLiteral("Kartola 1.3\n");
    // Through the link in bin the program still finds the catalogue beside itself.
    QTest::newRow("catalogue beside the program")
        << QStringList{QStringLiteral("lib/kartola/demo.gbc"), QStringLiteral("--list-maps")}
        << QStringLiteral("Towns\tMossbrook Town\n");
}

void TestInstall::installedProgramRuns()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    for (QString& argument : arguments)
        if (argument.startsWith(QStringLiteral("lib/")))
            argument = QDir(m_prefix.path()).filePath(argument);
    QString output;
    const int status = runTool(QDir(m_prefix.path()).filePath(QStringLiteral("bin/kartola")), arguments, &output);
    QCOMPARE(status, 0);
    QVERIFY2(output.startsWith(out), qPrintable(output));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
