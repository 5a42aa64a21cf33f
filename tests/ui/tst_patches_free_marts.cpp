#include "model/rom/rom_image.h"
#include "ui/patches/free_marts.h"
#include "model/patches/mart_patch.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QtTest>

namespace {
const QString Question = QStringLiteral("Are you sure that you want make all marts free?");

QByteArray patched(QByteArray bytes)
{
    bytes.replace(90705, 3, QByteArray(3, '\0'));
    return bytes;
}
} // namespace

class TestPatchesFreeMarts : public QObject {
    Q_OBJECT
private slots:
    // Whatever stood in the three bytes becomes 00 00 00; nothing else changes.
    void yesWritesThreeNoOps_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("shop code") << QByteArray("\xFA\x12\x34", 3);
        QTest::newRow("already free") << QByteArray(3, '\0');
        QTest::newRow("mixed") << QByteArray("\x00\xFF\x00", 3);
    }
    void yesWritesThreeNoOps()
    {
        QFETCH(QByteArray, before);
        RomImage rom;
        QByteArray original = TestDir::patternRom(0x20000);
        original.replace(90705, 3, before);
        rom.setBytes(original);
        ScriptedPrompts prompts;
        prompts.answer(Prompts::Answer::Yes);

        MakeAllMartsFree1Click(rom, prompts, [&rom](const auto& patch) { patch(rom); });

        QCOMPARE(rom.bytes(), patched(original));
        QCOMPARE(prompts.shown.size(), std::size_t(2));
        QCOMPARE(prompts.shown[0].text, Question);
        QCOMPARE(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
        QCOMPARE(prompts.shown[0].kind, Prompts::Kind::Confirmation);
        QCOMPARE(prompts.shown[1].text, QStringLiteral("Done!"));
        QCOMPARE(prompts.shown[1].kind, Prompts::Kind::Information);
        QCOMPARE(prompts.shown[1].buttons, Prompts::Buttons::Ok);
    }

    void twiceAsksAndReportsTwice()
    {
        RomImage rom;
        const QByteArray original = TestDir::patternRom(0x20000);
        rom.setBytes(original);
        ScriptedPrompts prompts;
        MakeAllMartsFree1Click(rom, prompts, [&rom](const auto& patch) { patch(rom); });
        MakeAllMartsFree1Click(rom, prompts, [&rom](const auto& patch) { patch(rom); });
        QCOMPARE(rom.bytes(), patched(original));
        QCOMPARE(prompts.texts(), (QStringList{Question, "Done!", Question, "Done!"}));
    }

    void noChangesNothing()
    {
        RomImage rom;
        const QByteArray original = TestDir::patternRom(0x20000);
        rom.setBytes(original);
        ScriptedPrompts prompts;
        prompts.answer(Prompts::Answer::No);
        MakeAllMartsFree1Click(rom, prompts, [&rom](const auto& patch) { patch(rom); });
        QCOMPARE(rom.bytes(), original);
        QCOMPARE(prompts.texts(), QStringList{Question});
    }

    // An image that does not hold all three bytes is refused before the
    // question and never grows.
    void imageTooSmallIsRefused_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("empty") << qsizetype(0);
        QTest::newRow("ends before") << qsizetype(90705);
        QTest::newRow("cuts the last byte") << qsizetype(90705 + 2);
    }
    void imageTooSmallIsRefused()
    {
        QFETCH(qsizetype, size);
        RomImage rom;
        const QByteArray original = TestDir::patternRom(size);
        rom.setBytes(original);
        ScriptedPrompts prompts;
        MakeAllMartsFree1Click(rom, prompts, [&rom](const auto& patch) { patch(rom); });
        QCOMPARE(rom.bytes(), original);
        QCOMPARE(prompts.shown.size(), std::size_t(1));
        QVERIFY(prompts.shown[0].text != Question);
        QCOMPARE(prompts.shown[0].buttons, Prompts::Buttons::Ok);
        QVERIFY(!makeAllMartsFree(rom));
        QCOMPARE(rom.bytes(), original);
    }

    void exactFitIsPatched()
    {
        RomImage rom;
        const QByteArray original = TestDir::patternRom(90705 + 3);
        rom.setBytes(original);
        ScriptedPrompts prompts;
        MakeAllMartsFree1Click(rom, prompts, [&rom](const auto& patch) { patch(rom); });
        QCOMPARE(rom.bytes(), patched(original));
    }
};

QTEST_GUILESS_MAIN(TestPatchesFreeMarts)
#include "tst_patches_free_marts.moc"
