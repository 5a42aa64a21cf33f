// The check of a whole catalogue against a ROM image, and its window.
#include "session/catalogue_check.h"
#include "session/editor_session.h"
#include "ui/main/catalogue_check_window.h"
#include "ui_support/editor_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

class TestCatalogueCheck : public QObject {
    Q_OBJECT
private slots:
    void options_data();
    void options();
    void patchesFollowTheImageSize_data();
    void patchesFollowTheImageSize();
    void mapListedTwiceIsCheckedOnce();
    void headerChecksums_data();
    void headerChecksums();
    void windowShowsTheReportAndChangesNothing();
};

namespace {
CatalogueReport checkFixture(EditorFixture& fixture, qsizetype romSize = 0x20000, int headerChecksum = 0x2A)
{
    fixture.open();
    QByteArray rom = TestDir::patternRom(romSize);
    if (rom.size() > 0x14D)
        rom[0x14D] = char(headerChecksum);   // 2A: what the pattern's bytes 0x134..0x14C give
    fixture.state->core.rom.setBytes(rom);
    return CatalogueCheck(fixture.state->core.catalogue, fixture.state->core.rom).run();
}
}

void TestCatalogueCheck::options_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QStringList>("problems");
    const QString name = QStringLiteral("Option \"Fast\"");
    QTest::newRow("sound") << QByteArray("Offset=0x100\r\nChanged value=1\r\nDefault value=255\r\n") << QStringList();
    QTest::newRow("no offset") << QByteArray("Changed value=1\r\n")
                               << QStringList{name + QStringLiteral(" has no \"Offset\".")};
    QTest::newRow("last byte") << QByteArray("Offset=0x1FFFF\r\n") << QStringList();
    QTest::newRow("past the end") << QByteArray("Offset=0x20000\r\n")
                                  << QStringList{name + QStringLiteral(": its byte at 20000 lies outside the ROM image.")};
    QTest::newRow("values not bytes") << QByteArray("Offset=1\r\nChanged value=256\r\nDefault value=-1\r\n")
                                      << QStringList{name + QStringLiteral(": its \"Changed value\" 256 is not a byte."),
                                                     name + QStringLiteral(": its \"Default value\" -1 is not a byte.")};
}

void TestCatalogueCheck::options()
{
    QFETCH(QByteArray, section);
    QFETCH(QStringList, problems);
    EditorFixture fixture;
    fixture.dir.write("Main.Ini", "");
    fixture.dir.write("Options.ini", "[Fast]\r\n" + section + "[Sound]\r\nOffset=2\r\n");
    const CatalogueReport report = checkFixture(fixture);
    QCOMPARE(report.problems, problems);
    QCOMPARE(report.options, 2);
    QCOMPARE(report.faultyOptions, problems.isEmpty() ? 0 : 1);
    QCOMPARE(report.sound(), problems.isEmpty());
}

void TestCatalogueCheck::patchesFollowTheImageSize_data()
{
    QTest::addColumn<int>("romSize");
    QTest::addColumn<QStringList>("problems");
    const QString marts = QStringLiteral("This ROM image is too small for the marts patch.");
    QTest::newRow("marts patch fits") << 0x16254 << QStringList();
    QTest::newRow("marts patch one byte short") << 0x16253 << QStringList{marts};
    QTest::newRow("last start menu entry cut") << 0x12C4E
        << QStringList{QStringLiteral("Start menu entry \"EXIT\": its bytes at 12C4C lie outside the ROM image."), marts};
}

void TestCatalogueCheck::patchesFollowTheImageSize()
{
    QFETCH(int, romSize);
    QFETCH(QStringList, problems);
    EditorFixture fixture;
    fixture.dir.write("Main.Ini", "");
    const CatalogueReport report = checkFixture(fixture, romSize);
    QCOMPARE(report.problems, problems);
    QCOMPARE(report.patchProblems, int(problems.size()));
}

void TestCatalogueCheck::mapListedTwiceIsCheckedOnce()
{
    EditorFixture fixture;
    // "Gamma" has no Maps.Ini section; listed in two categories, it is one map and one problem.
    fixture.dir.write("Main.Ini", "[Towns]\r\n1=Gamma\r\n2=Alpha Town\r\n[More]\r\n1=Gamma\r\n");
    const CatalogueReport report = checkFixture(fixture, 0x16254);
    QCOMPARE(report.problems, QStringList{QStringLiteral("Map \"Gamma\" has no section in Maps.Ini.")});
    QCOMPARE(report.maps, 2);
    QCOMPARE(report.faultyMaps, 1);
    QVERIFY(report.text().endsWith(report.summary() + QLatin1Char('\n')));
    QVERIFY2(report.summary().endsWith(QStringLiteral(": 1 problems.")), qPrintable(report.summary()));
}

void TestCatalogueCheck::headerChecksums_data()
{
    QTest::addColumn<int>("romSize");
    QTest::addColumn<int>("headerChecksum");
    QTest::addColumn<QStringList>("lines");   // problems, then notes
    const QString note = QStringLiteral("Information: the global checksum at 14E is 5354, but the image sums to %1 "
                                        "(the console does not check it).");
    QTest::newRow("header checksum wrong") << 0x20000 << 0x2B
        << QStringList{QStringLiteral("The header checksum at 14D is 2B, but bytes 134 to 14C give 2A: "
                                      "the console does not start this image."), note.arg("EB91")};
    QTest::newRow("no header") << 0x14F << 0
                               << QStringList{QStringLiteral("This ROM image is too small for a cartridge header (336 bytes).")};
}

void TestCatalogueCheck::headerChecksums()
{
    QFETCH(int, romSize);
    QFETCH(int, headerChecksum);
    QFETCH(QStringList, lines);
    EditorFixture fixture;
    fixture.dir.write("Main.Ini", "");
    const CatalogueReport report = checkFixture(fixture, romSize, headerChecksum);
    QCOMPARE(report.lines().filter(QRegularExpression(QStringLiteral("checksum|header"))), lines);
}

void TestCatalogueCheck::windowShowsTheReportAndChangesNothing()
{
    EditorFixture fixture;
    TMainForm& form = fixture.open();
    QVERIFY(!form.CheckCatalogue1->isEnabled());
    fixture.form->loadRom(fixture.dir.file("rom.gbc"));
    QVERIFY(form.CheckCatalogue1->isEnabled());
    fixture.pickMap("Towns", "Alpha Town");
    const QByteArray before = fixture.state->core.rom.bytes();

    form.CheckCatalogue1->trigger();
    TCatalogueCheckForm* window = form.catalogueCheck;
    QVERIFY(window->isVisible());
    // The 64 KiB image is too small for the start menu and marts patches,
    // and the pattern's header checksum is wrong.
    const CatalogueReport report = CatalogueCheck(fixture.state->core.catalogue, fixture.state->core.rom).run();
    QCOMPARE(report.problems.size(), 1 + 8 + 1 + 1);
    QCOMPARE(window->CountsLabel->text(), report.summary());
    QCOMPARE(window->ReportMemo->toPlainText(), report.lines().join(QLatin1Char('\n')));
    QVERIFY(window->ReportMemo->isReadOnly());
    QVERIFY(window->ReportMemo->textInteractionFlags() & Qt::TextSelectableByMouse);

    QVERIFY(fixture.state->core.rom.bytes() == before);
    QCOMPARE(fixture.state->core.map.name, QStringLiteral("Alpha Town"));
    QVERIFY(!form.session->isModified());
    QVERIFY(fixture.prompts.shown.empty());
}

QTEST_MAIN(TestCatalogueCheck)
#include "tst_catalogue_check.moc"
