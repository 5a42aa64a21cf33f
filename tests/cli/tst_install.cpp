// Installing into a prefix of its own: the program with links to its
// catalogue, the demo data, the command in bin, the desktop file, the icons, the
// AppStream metadata and the manual page.
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
    void catalogueLinks_data();
    void catalogueLinks();
    void manualPage_data();
    void manualPage();

private:
    static int runTool(const QString& program, const QStringList& arguments, QString* output);
    QString installed(const QString& path) const { return QDir(m_prefix.path()).filePath(path); }
    QTemporaryDir m_prefix;
    QString m_manualPage; // the installed page as man shows it, once read
};

namespace {
const QString AppId = QStringLiteral(KARTOLA_APP_ID);
const QString ProgramDir = QStringLiteral(KARTOLA_PROGRAM_DIR "/");
const QString DataDir = QStringLiteral(KARTOLA_DATA_DIR "/");
const char* const CatalogueFiles[] = {"Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini", "Options.ini"};
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
    QTest::newRow("program") << ProgramDir + QStringLiteral("kartola");
    QTest::newRow("command") << QStringLiteral("bin/kartola");
    QTest::newRow("demo ROM") << DataDir + QStringLiteral("demo.gbc");
    for (const char* file : CatalogueFiles)
        QTest::newRow(file) << DataDir + QLatin1String(file);
    QTest::newRow("tile picture") << DataDir + QStringLiteral("tiles/outdoor.bmp");
    QTest::newRow("example script") << DataDir + QStringLiteral("scripts/wild_shuffle.js");
    QTest::newRow("manual page") << QStringLiteral("share/man/man1/kartola.1.gz");
    QTest::newRow("changelog") << QStringLiteral("share/doc/kartola/changelog.Debian.gz");
    QTest::newRow("copyright") << QStringLiteral("share/doc/kartola/copyright");
    QTest::newRow("scripting guide") << QStringLiteral("share/doc/kartola/scripting.md");
    QTest::newRow("script declarations") << QStringLiteral("share/doc/kartola/kartola.d.ts");
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
        << QStringList{DataDir + QStringLiteral("demo.gbc"), QStringLiteral("--list-maps")}
        << QStringLiteral("Towns\tMossbrook Town\n");
}

void TestInstall::installedProgramRuns()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    for (QString& argument : arguments)
        if (argument.startsWith(DataDir))
            argument = installed(argument);
    QString output;
    const int status = runTool(QDir(m_prefix.path()).filePath(QStringLiteral("bin/kartola")), arguments, &output);
    QCOMPARE(status, 0);
    QVERIFY2(output.startsWith(out), qPrintable(output));
}

void TestInstall::catalogueLinks_data()
{
    QTest::addColumn<QString>("entry");
    for (const char* file : CatalogueFiles)
        QTest::newRow(file) << QString::fromLatin1(file);
    QTest::newRow("tile pictures") << QStringLiteral("tiles");
    QTest::newRow("example scripts") << QStringLiteral("scripts");
}

// The program reads its catalogue beside itself; beside it lie links to the
// files under share, where they are kept.
void TestInstall::catalogueLinks()
{
    QFETCH(QString, entry);
    if (ProgramDir == DataDir)
        QSKIP("The catalogue lies in the program's folder itself");
    const QFileInfo link(installed(ProgramDir + entry));
    QVERIFY2(link.isSymLink(), qPrintable(link.filePath()));
    QCOMPARE(link.canonicalFilePath(), QFileInfo(installed(DataDir + entry)).canonicalFilePath());
}

void TestInstall::manualPage_data()
{
    // Every option the installed program's --help lists.
    QTest::addColumn<QString>("option");
    QString help;
    QCOMPARE(runTool(installed(QStringLiteral("bin/kartola")), {QStringLiteral("--help")}, &help), 0);
    static const QRegularExpression optionLine(QStringLiteral("^  (-\\S+)(?:, (--\\S+))?"),
                                               QRegularExpression::MultilineOption);
    int options = 0;
    for (auto match = optionLine.globalMatch(help); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        for (int group = 1; group <= 2; ++group)
            if (!found.captured(group).isEmpty()) {
                QTest::newRow(qPrintable(found.captured(group))) << found.captured(group);
                ++options;
            }
    }
    QVERIFY2(options > 2, qPrintable(help));
}

void TestInstall::manualPage()
{
    QFETCH(QString, option);
    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    if (man.isEmpty())
        QSKIP("man is not installed");
    if (m_manualPage.isEmpty()) {
        qputenv("MANWIDTH", "80");
        qputenv("LC_ALL", "C.UTF-8");
        const int status = runTool(man, {QStringLiteral("-l"), installed(QStringLiteral("share/man/man1/kartola.1.gz"))},
                                   &m_manualPage);
        QVERIFY2(status == 0, qPrintable(m_manualPage));
    }
    // The option as a word of its own ("--export-map" is not found in
    // "--export-map-picture") at the head of an entry of OPTIONS, where man
    // sets the terms at the page's first indent.
    const qsizetype start = m_manualPage.indexOf(QStringLiteral("\nOPTIONS\n"));
    const qsizetype end = m_manualPage.indexOf(QStringLiteral("\nEXIT STATUS\n"));
    QVERIFY2(start >= 0 && end > start, qPrintable(m_manualPage));
    const QRegularExpression term(QStringLiteral("^ {7}(\\S.*[\\s,])?") + QRegularExpression::escape(option)
                                      + QStringLiteral("($|[\\s,])"),
                                  QRegularExpression::MultilineOption);
    QVERIFY2(m_manualPage.mid(start, end - start).contains(term),
             qPrintable(option + QStringLiteral(" is missing from the manual page's options")));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
