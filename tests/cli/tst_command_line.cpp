// Reading the command line: which action, with which values, and what is
// refused as wrong usage.
#include "cli/command_line.h"

#include <QtTest>

Q_DECLARE_METATYPE(CommandLine::Action)

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
};

void TestCommandLine::parses_data()
{
    using A = CommandLine::Action;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<A>("action");
    QTest::addColumn<QString>("rom");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("output");

    const QString none;
    QTest::newRow("nothing") << QStringList{} << A::OpenWindow << none << none << none << none;
    QTest::newRow("ROM") << QStringList{"a.gbc"} << A::OpenWindow << "a.gbc" << none << none << none;
    QTest::newRow("catalogue and ROM") << QStringList{"--catalogue", "/c", "a.gbc"} << A::OpenWindow << "a.gbc"
                                       << none << none << none;
    QTest::newRow("help beats the rest") << QStringList{"a.gbc", "--check", "-h"} << A::Help << none << none
                                         << none << none;
    QTest::newRow("version") << QStringList{"--version"} << A::Version << none << none << none << none;
    QTest::newRow("picture, ROM first") << QStringList{"a.gbc", "--export-map-picture", "Old Town", "t.png"}
                                        << A::ExportMapPicture << "a.gbc" << "Old Town" << "t.png" << none;
    QTest::newRow("picture, ROM last") << QStringList{"--export-map-picture", "Old Town", "t.png", "a.gbc"}
                                       << A::ExportMapPicture << "a.gbc" << "Old Town" << "t.png" << none;
    QTest::newRow("picture, MAP joined") << QStringList{"--export-tileset-picture=Cave", "t.bmp", "a.gbc", "--grid"}
                                         << A::ExportTilesetPicture << "a.gbc" << "Cave" << "t.bmp" << none;
    QTest::newRow("FILE looks like an option") << QStringList{"a.gbc", "--export-map", "Cave", "--check"}
                                               << A::ExportMap << "a.gbc" << "Cave" << "--check" << none;
    QTest::newRow("import") << QStringList{"a.gbc", "--import-map", "Cave", "c.map", "--output", "b.gbc"}
                            << A::ImportMap << "a.gbc" << "Cave" << "c.map" << "b.gbc";
    QTest::newRow("pictures") << QStringList{"a.gbc", "--export-pictures", "out"} << A::ExportPictures << "a.gbc"
                              << none << "out" << none;
    QTest::newRow("make patch") << QStringList{"a.gbc", "--make-patch", "o.gbc", "p.BPS"} << A::MakePatch << "a.gbc"
                                << "o.gbc" << "p.BPS" << none;
    QTest::newRow("apply patch") << QStringList{"a.gbc", "--apply-patch", "p.ips", "--output", "b.gbc"}
                                 << A::ApplyPatch << "a.gbc" << none << "p.ips" << "b.gbc";
    QTest::newRow("script") << QStringList{"a.gbc", "--script", "s.js", "--arg", "x", "--output", "b.gbc"}
                            << A::RunScript << "a.gbc" << none << "s.js" << "b.gbc";
    QTest::newRow("script without output") << QStringList{"--script=s.js", "a.gbc", "--script-timeout", "5"}
                                           << A::RunScript << "a.gbc" << none << "s.js" << none;
    QTest::newRow("tiled export") << QStringList{"a.gbc", "--export-tiled", "out", "--map", "A", "--map", "B b"}
                                  << A::ExportTiled << "a.gbc" << "A|B b" << "out" << none;
    QTest::newRow("tiled export of every map") << QStringList{"--export-tiled=out", "a.gbc"} << A::ExportTiled
                                               << "a.gbc" << none << "out" << none;
    QTest::newRow("tiled import") << QStringList{"a.gbc", "--import-tiled", "m.tmx", "--map", "A", "--output", "b.gbc"}
                                  << A::ImportTiled << "a.gbc" << "A" << "m.tmx" << "b.gbc";
    QTest::newRow("tiled import without output") << QStringList{"a.gbc", "--import-tiled", "dir"} << A::UsageError
                                                 << none << none << none << none;
    QTest::newRow("tiled import of two maps")
        << QStringList{"a.gbc", "--import-tiled", "m.tmx", "--map", "A", "--map", "B", "--output", "b.gbc"}
        << A::UsageError << none << none << none << none;
    QTest::newRow("map without tiled") << QStringList{"a.gbc", "--export-pictures", "out", "--map", "A"}
                                       << A::UsageError << none << none << none << none;
    QTest::newRow("list") << QStringList{"a.gbc", "--list-maps"} << A::ListMaps << "a.gbc" << none << none << none;
    QTest::newRow("check") << QStringList{"--check", "a.gbc"} << A::Check << "a.gbc" << none << none << none;
    QTest::newRow("pictures on 2 threads") << QStringList{"a.gbc", "--threads", "2", "--export-pictures", "out"}
                                           << A::ExportPictures << "a.gbc" << none << "out" << none;

    // Wrong usage.
    QTest::newRow("unknown option") << QStringList{"--bogus"} << A::UsageError << none << none << none << none;
    QTest::newRow("two ROMs") << QStringList{"a.gbc", "b.gbc"} << A::UsageError << none << none << none << none;
    QTest::newRow("batch without ROM") << QStringList{"--check"} << A::UsageError << none << none << none << none;
    QTest::newRow("two actions") << QStringList{"a.gbc", "--check", "--list-maps"} << A::UsageError << none
                                 << none << none << none;
    QTest::newRow("MAP without FILE") << QStringList{"a.gbc", "--export-map", "Cave"} << A::UsageError << none
                                      << none << none << none;
    QTest::newRow("import without output") << QStringList{"a.gbc", "--import-map", "Cave", "c.map"}
                                           << A::UsageError << none << none << none << none;
    QTest::newRow("force without import") << QStringList{"a.gbc", "--check", "--force"} << A::UsageError << none
                                          << none << none << none;
    QTest::newRow("patch of no format") << QStringList{"a.gbc", "--make-patch", "o.gbc", "p.txt"} << A::UsageError
                                        << none << none << none << none;
    QTest::newRow("output without a writer") << QStringList{"a.gbc", "--check", "--output", "b.gbc"}
                                             << A::UsageError << none << none << none << none;
    QTest::newRow("script timeout of 0") << QStringList{"a.gbc", "--script", "s.js", "--script-timeout", "0"}
                                         << A::UsageError << none << none << none << none;
    QTest::newRow("script timeout of words") << QStringList{"a.gbc", "--script", "s.js", "--script-timeout", "ten"}
                                             << A::UsageError << none << none << none << none;
    QTest::newRow("script memory of 0") << QStringList{"a.gbc", "--script", "s.js", "--script-memory", "0"}
                                        << A::UsageError << none << none << none << none;
    QTest::newRow("script memory without script") << QStringList{"a.gbc", "--check", "--script-memory", "64"}
                                                  << A::UsageError << none << none << none << none;
    QTest::newRow("threads of 0") << QStringList{"a.gbc", "--check", "--threads", "0"} << A::UsageError << none
                                  << none << none << none;
    QTest::newRow("threads past the most") << QStringList{"a.gbc", "--check", "--threads", "257"} << A::UsageError
                                           << none << none << none << none;
    QTest::newRow("threads without a batch of maps") << QStringList{"a.gbc", "--list-maps", "--threads", "2"}
                                                     << A::UsageError << none << none << none << none;
    QTest::newRow("arg without script") << QStringList{"a.gbc", "--check", "--arg", "x"} << A::UsageError << none
                                        << none << none << none;
    QTest::newRow("catalogue without DIR") << QStringList{"--catalogue"} << A::UsageError << none << none << none
                                           << none;
}

void TestCommandLine::parses()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, rom);
    QFETCH(QString, map);
    QFETCH(QString, file);
    QFETCH(QString, output);
    const CommandLine line = parseCommandLine(QStringList{QStringLiteral("kartola")} + arguments);
    QCOMPARE(line.action, action);
    if (action == CommandLine::Action::UsageError) {
        QVERIFY(!line.error.isEmpty());
        return;
    }
    QCOMPARE(line.rom, rom);
    // The first value of --make-patch is the original image.
    // The maps of the Tiled actions, joined by "|".
    const QString maps = line.maps.join(QLatin1Char('|'));
    QCOMPARE(action == CommandLine::Action::MakePatch ? line.original : line.maps.isEmpty() ? line.map : maps, map);
    QCOMPARE(line.file, file);
    QCOMPARE(line.output, output);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
