// The check of a whole catalogue against a ROM image, and its window.
#include "session/catalogue_check.h"
#include "session/editor_session.h"
#include "ui/main/catalogue_check_window.h"
#include "ui_support/editor_fixture.h"

#include "session/catalogue_check_job.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSemaphore>
#include <QPushButton>
#include <QSemaphore>
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
    void linesComeAsFoundAndCancelKeepsThem_data();
    void linesComeAsFoundAndCancelKeepsThem();
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
    QTRY_VERIFY(!window->CancelButton->isVisible());
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

void TestCatalogueCheck::linesComeAsFoundAndCancelKeepsThem_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("to the end") << false;
    QTest::newRow("Cancel at the first lines") << true;
}

void TestCatalogueCheck::linesComeAsFoundAndCancelKeepsThem()
{
    QFETCH(bool, cancel);
    // A catalogue of 6,000 maps that Maps.Ini does not describe: each one a problem.
    constexpr int Maps = 6000;
    EditorFixture fixture;
    QByteArray main = "[Many]\r\n";
    for (int n = 0; n < Maps; ++n)
        main += QByteArray::number(n + 1) + "=Lost " + QByteArray::number(n) + "\r\n";
    fixture.dir.write("Main.Ini", main);
    TMainForm& form = fixture.openWithRom();
    form.show();
    TCatalogueCheckForm* window = form.catalogueCheck;
    auto* job = window->findChild<CatalogueCheckJob*>();
    QVERIFY(job);

    // The check waits after its first batch until the user has cancelled.
    QSemaphore cancelled;
    if (cancel)
        job->setAfterBatch([&cancelled, first = true]() mutable {
            if (std::exchange(first, false))
                cancelled.acquire();
        });
    int batches = 0;
    qint64 firstMs = -1;
    QStringList atCancel;
    QElapsedTimer clock;
    connect(job, &CatalogueCheckJob::found, window, [&](const QStringList& problems) {
        if (problems.isEmpty())
            return;
        if (batches++ == 0)
            firstMs = clock.elapsed();
        // The user sees the first lines, under a moving bar, and cancels.
        if (cancel && atCancel.isEmpty()) {
            QTimer::singleShot(0, window, [&] {
                atCancel = window->ReportMemo->toPlainText().split(QLatin1Char('\n'));
                const bool barMoving = window->ProgressBar->isVisible() && window->ProgressBar->value() < Maps;
                QTest::mouseClick(window->CancelButton, Qt::LeftButton);
                cancelled.release();
                QVERIFY(barMoving);
            });
        }
    });
    clock.start();
    form.CheckCatalogue1->trigger();
    QVERIFY(window->CancelButton->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window->CancelButton->isVisible(), 60000);
    QVERIFY2(firstMs >= 0 && firstMs < 1000, qPrintable(QString::number(firstMs)));

    const QStringList lines = window->ReportMemo->toPlainText().split(QLatin1Char('\n'));
    // The lines follow the catalogue's order, each map once.
    for (int n = 0; n < qMin<qsizetype>(lines.size(), Maps); ++n)
        QVERIFY2(lines[n].contains(QStringLiteral("\"Lost %1\"").arg(n)), qPrintable(lines[n]));
    if (cancel) {
        QVERIFY(!atCancel.isEmpty());
        QVERIFY2(lines.size() >= atCancel.size() && lines.size() < Maps,
                 qPrintable(QStringLiteral("%1 lines, %2 at Cancel").arg(lines.size()).arg(atCancel.size())));
        QVERIFY2(window->CountsLabel->text().startsWith(QStringLiteral("Stopped after %1 maps").arg(lines.size())),
                 qPrintable(window->CountsLabel->text()));
    } else {
        QVERIFY2(batches > 1, qPrintable(QString::number(batches)));
        QVERIFY(lines.size() > Maps);   // the patches and the header come after the maps
        QVERIFY(window->CountsLabel->text().startsWith(QStringLiteral("Checked %1 maps").arg(Maps)));
    }
}

QTEST_MAIN(TestCatalogueCheck)
#include "tst_catalogue_check.moc"
