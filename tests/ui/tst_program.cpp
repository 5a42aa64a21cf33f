// The installed program as a user starts it: help, version, wrong usage and
// batch work, run as a separate process on the demo data.
#include "demo_data.h"
#include "ui/main/main_form.h"
#include "ui/main/map_file_commands.h"
#include "base/ini_file.h"
#include "ui/map/map_page.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "ui/map/map_view.h"

#include <QAction>
#include <QProcess>
#include <QtTest>

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void answersWithoutWindow_data();
    void answersWithoutWindow();
    void listMaps();
    void checkFindsEachPlantedFault();
    void mapFileRoundTrip_data();
    void mapFileRoundTrip();
    void exportPicturesWritesEveryMap();
    void batchSameOnAnyThreads_data();
    void batchSameOnAnyThreads();
    void picturesAreTheMenus_data();
    void picturesAreTheMenus();
    void patchRoundTrip_data();
    void patchRoundTrip();

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
    QTest::newRow("patch neither .ips nor .bps")
        << QStringList{"x.gbc", "--make-patch", "o.gbc", "p.txt"} << 2 << QString() << usage;
    QTest::newRow("apply without --output") << QStringList{"x.gbc", "--apply-patch", "p.ips"} << 2 << QString()
                                            << usage;
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

void TestProgram::checkFindsEachPlantedFault()
{
    // Sound demo data: no problem at all.
    const Run sound = run(onDemo({QStringLiteral("--check")}));
    QCOMPARE(sound.status, 0);
    QVERIFY2(sound.out.endsWith(QStringLiteral(": 0 problems.\n")), qPrintable(sound.out));

    // Faults of every kind planted in one copy of the catalogue.
    struct Fault {
        const char* file;
        const char* section;
        const char* key;
        const char* value;
        const char* named;   // the one line about it carries this name
    };
    const Fault faults[] = {
        {"Maps.Ini", "Mossbrook Town", "Tileset", "25", "Mossbrook Town"},
        {"Maps.Ini", "Echo Hollow", "Start offset", "0x7FFFFF00", "Echo Hollow"},
        {"Events.ini", "Cinderfield City", "Warps", "300", "Cinderfield City"},
        {"Critters.ini", "Amber Road", "Start offset", "0x7FFFFF00", "Amber Road"},
        {"Main.Ini", "Caves", "3", "Nowhere Cave", "Nowhere Cave"},
        {"Options.ini", "Always run", "Offset", "0x7FFFFF00", "Always run"},
        {"Tilesets.ini", "2", "Tiles", "tiles/missing.bmp", "Glimmer Deep"},
    };
    TestDir faulty;
    QString error;
    QVERIFY(writeDemoData(faulty.path(), &error));
    for (const Fault& fault : faults) {
        IniFile file(faulty.file(QLatin1String(fault.file)));
        QVERIFY(file.writeString(QLatin1String(fault.section), QLatin1String(fault.key), QLatin1String(fault.value)));
    }
    const Run result = run({QStringLiteral("--catalogue"), faulty.path(), faulty.file(QStringLiteral("demo.gbc")),
                            QStringLiteral("--check")});
    QCOMPARE(result.status, 1);
    const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), int(std::size(faults)) + 1);
    for (const Fault& fault : faults) {
        const QString name = QLatin1Char('"') + QLatin1String(fault.named) + QLatin1Char('"');
        QCOMPARE(lines.filter(name).size(), 1);
    }
    QVERIFY2(lines.last().endsWith(QStringLiteral(": 7 problems.")), qPrintable(lines.last()));
    QVERIFY2(lines.last().contains(QStringLiteral("6 with problems")), qPrintable(lines.last()));
}

void TestProgram::mapFileRoundTrip_data()
{
    QTest::addColumn<QString>("map");
    QTest::newRow("town with events") << QStringLiteral("Cinderfield City");
    QTest::newRow("route with wild table") << QStringLiteral("Amber Road");
}

void TestProgram::mapFileRoundTrip()
{
    QFETCH(QString, map);
    TestDir work;
    const QString mapFile = work.file(QStringLiteral("m.map"));
    Run result = run(onDemo({QStringLiteral("--export-map"), map, mapFile}));
    QCOMPARE(result.status, 0);
    const QByteArray content = work.read(QStringLiteral("m.map"));
    QVERIFY(content.size() > 168);

    // Applied as it is, the file gives the image back byte for byte.
    const QString same = work.file(QStringLiteral("same.gbc"));
    result = run(onDemo({QStringLiteral("--import-map"), map, mapFile, QStringLiteral("--output"), same}));
    QCOMPARE(result.status, 0);
    const QByteArray original = m_dir.read(QStringLiteral("demo.gbc"));
    QVERIFY(work.read(QStringLiteral("same.gbc")) == original);

    // A changed first block byte lands at the map's first offset, and only there.
    QByteArray changed = content;
    changed[0] = char(quint8(changed.at(0)) ^ 0x5A);
    work.write(QStringLiteral("changed.map"), changed);
    const QString edited = work.file(QStringLiteral("edited.gbc"));
    result = run(onDemo({QStringLiteral("--import-map"), map, work.file(QStringLiteral("changed.map")),
                         QStringLiteral("--output"), edited}));
    QCOMPARE(result.status, 0);
    const QByteArray image = work.read(QStringLiteral("edited.gbc"));
    const qint64 start = IniFile(m_dir.file(QStringLiteral("Maps.Ini"))).readInteger(map, QStringLiteral("Start offset"));
    QCOMPARE(image.size(), original.size());
    for (qsizetype i = 0; i < image.size(); ++i)
        if (image.at(i) != original.at(i))
            QCOMPARE(i, start);
    QVERIFY(image.at(start) != original.at(start));

    // A file of another length is refused, and nothing is written, unless forced.
    work.write(QStringLiteral("short.map"), content.left(content.size() - 1));
    const QString refused = work.file(QStringLiteral("refused.gbc"));
    result = run(onDemo({QStringLiteral("--import-map"), map, work.file(QStringLiteral("short.map")),
                         QStringLiteral("--output"), refused}));
    QCOMPARE(result.status, 1);
    QVERIFY(!QFile::exists(refused));
    result = run(onDemo({QStringLiteral("--import-map"), map, work.file(QStringLiteral("short.map")),
                         QStringLiteral("--output"), refused, QStringLiteral("--force")}));
    QCOMPARE(result.status, 0);
    QVERIFY(QFile::exists(refused));
}

void TestProgram::exportPicturesWritesEveryMap()
{
    TestDir out;
    const QString folder = out.file(QStringLiteral("pictures"));
    const Run result = run(onDemo({QStringLiteral("--export-pictures"), folder}));
    QCOMPARE(result.status, 0);
    const IniFile mainIni(m_dir.file(QStringLiteral("Main.Ini")));
    int maps = 0;
    for (const QString& category : mainIni.sections())
        for (int k = 1; k <= mainIni.keys(category).size(); ++k) {
            const QString name = mainIni.readString(category, QString::number(k));
            const QImage picture(QDir(folder).filePath(name + QStringLiteral(".png")));
            QVERIFY2(!picture.isNull(), qPrintable(name));
            const IniFile mapsIni(m_dir.file(QStringLiteral("Maps.Ini")));
            QCOMPARE(picture.size(), QSize(64 * mapsIni.readInteger(name, QStringLiteral("X size")),
                                           64 * mapsIni.readInteger(name, QStringLiteral("Y size"))));
            ++maps;
        }
    // One progress line per map.
    QCOMPARE(result.err.count(QLatin1Char('\n')), maps);

    // A picture that cannot be written, or a map refused, makes the status 1.
    const QString first = mainIni.readString(mainIni.sections().first(), QStringLiteral("1"));
    QVERIFY(QDir().mkpath(out.file(QStringLiteral("blocked/") + first + QStringLiteral(".png"))));
    QCOMPARE(run(onDemo({QStringLiteral("--export-pictures"), out.file(QStringLiteral("blocked"))})).status, 1);
    QString error;
    QVERIFY(writeDemoData(out.path(), &error));
    out.write(QStringLiteral("Main.Ini"), out.read(QStringLiteral("Main.Ini")) + "[Lost]\r\n1=Nowhere\r\n");
    const QStringList lost{QStringLiteral("--catalogue"), out.path(), out.file(QStringLiteral("demo.gbc"))};
    QCOMPARE(run(lost + QStringList{QStringLiteral("--export-pictures"), out.file(QStringLiteral("lost"))}).status, 1);

    // A folder that takes no file (not even from root) is said in one line, and nothing is drawn.
    if (QFileInfo(QStringLiteral("/proc/self")).isDir()) {
        const Run refused = run(onDemo({QStringLiteral("--export-pictures"), QStringLiteral("/proc")}));
        QCOMPARE(refused.status, 1);
        QCOMPARE(refused.err, QStringLiteral("Cannot write to folder /proc\n"));
    }
}

void TestProgram::batchSameOnAnyThreads_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("faulty");
    QTest::addColumn<bool>("grid");
    QTest::newRow("check") << QStringLiteral("--check") << false << false;
    QTest::newRow("check, faults") << QStringLiteral("--check") << true << false;
    QTest::newRow("pictures") << QStringLiteral("--export-pictures") << false << false;
    QTest::newRow("pictures, grid, faults") << QStringLiteral("--export-pictures") << true << true;
}

// One thread and two give the same lines, files and status: maps refused,
// maps with event and wild table problems, a file that cannot be written and
// two maps whose files would share a name among sound maps.
void TestProgram::batchSameOnAnyThreads()
{
    QFETCH(QString, action);
    QFETCH(bool, faulty);
    QFETCH(bool, grid);
    TestDir work;
    QString error;
    QVERIFY2(writeDemoData(work.path(), &error), qPrintable(error));
    if (faulty) {
        const struct {
            const char* file;
            const char* section;
            const char* key;
            const char* value;
        } faults[] = {
            {"Maps.Ini", "Mossbrook Town", "Tileset", "25"},
            {"Events.ini", "Cinderfield City", "Warps", "300"},
            {"Critters.ini", "Amber Road", "Start offset", "0x7FFFFF00"},
            {"Tilesets.ini", "2", "Tiles", "tiles/missing.bmp"},
        };
        for (const auto& fault : faults)
            QVERIFY(IniFile(work.file(QLatin1String(fault.file)))
                        .writeString(QLatin1String(fault.section), QLatin1String(fault.key), QLatin1String(fault.value)));
        work.write(QStringLiteral("Main.Ini"), work.read(QStringLiteral("Main.Ini"))
                                                   + "[Extra]\r\n1=Nowhere\r\n2=willow path\r\n3=Willow Path\r\n");
    }
    Run runs[2];
    QStringList folders;
    for (int threads : {1, 2}) {
        const QString folder = work.file(QStringLiteral("out%1").arg(threads));
        folders << folder;
        QStringList arguments{QStringLiteral("--catalogue"), work.path(), work.file(QStringLiteral("demo.gbc")),
                              QStringLiteral("--threads"), QString::number(threads), action};
        if (action == QStringLiteral("--export-pictures")) {
            arguments << folder;
            if (faulty)
                QVERIFY(QDir().mkpath(folder + QStringLiteral("/Amber Road.png")));
        }
        if (grid)
            arguments << QStringLiteral("--grid");
        runs[threads - 1] = run(arguments);
        runs[threads - 1].err.replace(folder, QStringLiteral("DIR"));
    }
    QCOMPARE(runs[0].status, faulty ? 1 : 0);
    QCOMPARE(runs[1].status, runs[0].status);
    QCOMPARE(runs[1].out, runs[0].out);
    QCOMPARE(runs[1].err, runs[0].err);
    if (faulty)
        QVERIFY2(runs[0].out.size() + runs[0].err.size() > 400, qPrintable(runs[0].out + runs[0].err));
    const QDir one(folders[0]), two(folders[1]);
    QCOMPARE(two.entryList(QDir::Files), one.entryList(QDir::Files));
    for (const QString& file : one.entryList(QDir::Files)) {
        QFile a(one.filePath(file)), b(two.filePath(file));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(file));
    }
    if (action == QStringLiteral("--export-pictures"))
        QCOMPARE(one.entryList(QDir::Files).size(), faulty ? 4 : 7);
    if (faulty && action == QStringLiteral("--export-pictures"))
        QVERIFY(one.exists(QStringLiteral("willow path (2).png")));
}

void TestProgram::picturesAreTheMenus_data()
{
    QTest::addColumn<bool>("tileset");
    QTest::addColumn<QString>("map");
    QTest::addColumn<bool>("grid");
    QTest::addColumn<QString>("file");
    QTest::newRow("map") << false << QStringLiteral("Cinderfield City") << false << QStringLiteral("a.DIB");
    QTest::newRow("map, grid, PNG") << false << QStringLiteral("Echo Hollow") << true << QStringLiteral("a.png");
    QTest::newRow("tileset") << true << QStringLiteral("Mossbrook Town") << false << QStringLiteral("a.DIB");
    QTest::newRow("tileset, grid") << true << QStringLiteral("Glimmer Deep") << true << QStringLiteral("a.bmp");
}

void TestProgram::picturesAreTheMenus()
{
    QFETCH(bool, tileset);
    QFETCH(QString, map);
    QFETCH(bool, grid);
    QFETCH(QString, file);
    // The window's grid setting is stored in the catalogue: a copy of its own.
    TestDir dir;
    QString error;
    QVERIFY(writeDemoData(dir.path(), &error));
    const QString rom = dir.file(QStringLiteral("demo.gbc"));

    EditorState state(dir.path());
    ScriptedPrompts prompts;
    TMainForm form(state, prompts);
    form.show();
    QVERIFY(form.loadRom(rom));
    form.pickMap(map, true);
    if (grid)
        form.Grid1->trigger();
    QCOMPARE(form.Grid1->isChecked(), grid);
    const QString fromMenu = dir.file(QStringLiteral("menu-") + file);
    prompts.chooseFile(fromMenu);
    (tileset ? form.SaveTilesetPicture1 : form.SaveMapPicture1)->trigger();
    form.mapFiles->finishRunning();
    QVERIFY(prompts.shown.empty());
    // The menu writes what the view shows.
    const QImage shown = tileset ? form.mapPage->paletteImage()
                                 : form.mapPage->MapBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(QImage(fromMenu, file.endsWith(QStringLiteral(".png")) ? "PNG" : "BMP").convertToFormat(QImage::Format_RGB32), shown);

    const QString fromBatch = dir.file(QStringLiteral("batch-") + file);
    QStringList arguments{QStringLiteral("--catalogue"), dir.path(), rom,
                          tileset ? QStringLiteral("--export-tileset-picture") : QStringLiteral("--export-map-picture"),
                          map, fromBatch};
    if (grid)
        arguments << QStringLiteral("--grid");
    const Run result = run(arguments);
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QString());
    QCOMPARE(QImage(fromBatch, file.endsWith(QStringLiteral(".png")) ? "PNG" : "BMP").convertToFormat(QImage::Format_RGB32), shown);
    QVERIFY(dir.read(QStringLiteral("menu-") + file) == dir.read(QStringLiteral("batch-") + file));
}

void TestProgram::patchRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("ips") << QStringLiteral("p.ips");
    QTest::newRow("bps") << QStringLiteral("p.bps");
}

void TestProgram::patchRoundTrip()
{
    QFETCH(QString, name);
    TestDir work;
    const QByteArray original = m_dir.read(QStringLiteral("demo.gbc"));
    QByteArray edited = original + QByteArray(5000, '\x33');
    edited[0x150] = char(~edited[0x150]);
    work.write(QStringLiteral("edited.gbc"), edited);
    const QString catalogue = QStringLiteral("--catalogue");
    const QString patch = work.file(name);
    Run result = run({catalogue, m_dir.path(), work.file(QStringLiteral("edited.gbc")), QStringLiteral("--make-patch"),
                      rom(), patch});
    QCOMPARE(result.status, 0);

    const QString out = work.file(QStringLiteral("out.gbc"));
    result = run(onDemo({QStringLiteral("--apply-patch"), patch, QStringLiteral("--output"), out}));
    QCOMPARE(result.status, 0);
    QVERIFY(work.read(QStringLiteral("out.gbc")) == edited);
    QVERIFY(m_dir.read(QStringLiteral("demo.gbc")) == original);

    // A damaged patch: one line on stderr, nothing written.
    QByteArray damaged = work.read(name);
    damaged.chop(1);
    work.write(QStringLiteral("damaged.") + name, damaged);
    const QString refused = work.file(QStringLiteral("refused.gbc"));
    result = run(onDemo({QStringLiteral("--apply-patch"), work.file(QStringLiteral("damaged.") + name),
                         QStringLiteral("--output"), refused}));
    QCOMPARE(result.status, 1);
    QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
    QVERIFY(!QFile::exists(refused));
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
