// The recovery file of the editing session: when it is there, what a load of
// its ROM file offers, and patches replayed on a changed ROM file.
#include "model/rom/bps_patch.h"
#include "session/editor_session.h"
#include "session/recovery_file.h"
#include "session/recovery_keeper.h"
#include "model/rom/crc32.h"
#include "model/rom/rom_image.h"
#include "support/catalogue_fixture.h"
#include "support/scripted_prompts.h"

#include <QtTest>

namespace {

constexpr qint64 AlphaTown = 0x1000;

struct Session {
    Session()
    {
        files.dir.write("rom.gbc", TestDir::patternRom(CatalogueFixture::RomSize));
        session.recovery().setFolder(data.path());
    }
    QString rom() const { return files.dir.file("rom.gbc"); }
    QString recoveryFile() { return session.recovery().filePath(); }
    void paint()
    {
        session.stamp().setSelectedBlock(int(quint8(state.core.rom.bytes().at(AlphaTown))) + 1);
        session.beginStroke();
        session.paintCell(0);
        session.endStroke();
    }

    CatalogueFixture files;
    TestDir data;
    ScriptedPrompts prompts;
    EditorState state{files.dir.path()};
    EditorSession session{state, prompts};
};

enum Step { WaitForTimer, PickAnsweredYes, Save, Discard, UndoAndClose, UndoAndWait, LoadCancelled };

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void fileFollowsUnsavedWork_data();
    void fileFollowsUnsavedWork();
    void unreadableFileIsKeptAside_data();
    void unreadableFileIsKeptAside();
    void replayRefusesWhatReachesOutside_data();
    void replayRefusesWhatReachesOutside();
    void restoreReadsTheMapFromTheRestoredImage_data();
    void restoreReadsTheMapFromTheRestoredImage();
    void replayKeepsTheBytesWritten_data();
    void replayKeepsTheBytesWritten();
    void fileHoldsTheImageAsSaved_data();
    void fileHoldsTheImageAsSaved();
};

void TestRecovery::fileFollowsUnsavedWork_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("there");
    QTest::newRow("a change, a second later") << int(WaitForTimer) << true;
    QTest::newRow("pick answered Yes: at once") << int(PickAnsweredYes) << true;
    QTest::newRow("Load Rom cancelled: written before") << int(LoadCancelled) << true;
    QTest::newRow("saved") << int(Save) << false;
    QTest::newRow("discarded") << int(Discard) << false;
    QTest::newRow("clean exit with nothing unsaved") << int(UndoAndClose) << false;
    QTest::newRow("undone, a second later") << int(UndoAndWait) << false;
}

void TestRecovery::fileFollowsUnsavedWork()
{
    QFETCH(int, step);
    QFETCH(bool, there);
    Session s;
    QVERIFY(s.session.loadRom(s.rom()).isDone());
    QVERIFY(s.session.pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
    s.paint();
    // The paint step only starts the timer.
    QVERIFY(!QFile::exists(s.recoveryFile()));
    if (step != WaitForTimer && step != PickAnsweredYes && step != LoadCancelled) {
        s.session.recovery().writeNow();
        s.session.recovery().settle();
        QVERIFY(QFile::exists(s.recoveryFile()));
    }
    switch (Step(step)) {
    case WaitForTimer:
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(s.recoveryFile()), 5000);
        break;
    case PickAnsweredYes:
        s.prompts.answer(Prompts::Answer::Yes);
        QVERIFY(s.session.pickMap(QStringLiteral("Beta Town")).outcome.isDone());
        break;
    case LoadCancelled:
        s.prompts.answer(Prompts::Answer::Cancel);
        QVERIFY(s.session.loadRom(s.files.dir.file("other.gbc")).isDeclined());
        break;
    case Save:
        QVERIFY(s.session.saveRom().isDone());
        break;
    case Discard:
        s.prompts.answer(Prompts::Answer::Discard);
        QVERIFY(s.session.maySetAside());
        break;
    case UndoAndClose:
        s.session.undoStack().undo();
        QVERIFY(s.session.maySetAside());
        break;
    case UndoAndWait:
        s.session.undoStack().undo();
        QTest::qWait(1500);
        break;
    }
    s.session.recovery().settle();
    QCOMPARE(QFile::exists(s.recoveryFile()), there);
}

void TestRecovery::unreadableFileIsKeptAside_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray source = TestDir::patternRom(CatalogueFixture::RomSize);
    QTest::newRow("no patch") << QByteArray("not a patch at all");
    QTest::newRow("a patch of another program")
        << RecoveryFile::make(source, source, RecoveryInfo()).replace("kartola-recovery", "someone-else-rec");
    RecoveryInfo info;
    info.romPath = QStringLiteral("/x.gbc");
    info.romSize = source.size();
    info.romCrc = crc32Of(source);   // says it is the ROM file as it is
    info.saved = QDateTime::currentDateTimeUtc();
    QByteArray other = source;
    other[5] = 'x';
    QTest::newRow("made from other bytes") << RecoveryFile::make(other, source, info);
}

void TestRecovery::unreadableFileIsKeptAside()
{
    QFETCH(QByteArray, content);
    Session s;
    QDir().mkpath(s.data.path());
    s.state.core.RomFileName = s.rom();   // only to name its recovery file
    s.data.write(QFileInfo(s.recoveryFile()).fileName(), content);
    s.state.core.RomFileName.clear();
    s.prompts.answer(Prompts::Answer::Yes);
    QVERIFY(s.session.loadRom(s.rom()).isDone());
    QVERIFY(s.state.core.rom.bytes() == s.files.dir.read("rom.gbc") && !s.session.isModified());
    QVERIFY(QFile::exists(s.data.file("rom.gbc.recovered.bps")));
    QVERIFY2(s.prompts.lastText().contains(QStringLiteral("rom.gbc.recovered.bps")), qPrintable(s.prompts.lastText()));
}

void TestRecovery::replayRefusesWhatReachesOutside_data()
{
    // Patches written by hand: "BPS1", source size, target size, metadata
    // size (one-byte numbers are 0x80 + value), actions, a 12-byte footer.
    QTest::addColumn<QByteArray>("actions");
    QTest::addColumn<int>("targetSize");
    QTest::addColumn<QByteArray>("result");   // empty: refused
    auto action = [](int command, int length) { return char(0x80 | ((length - 1) << 2) | command); };
    QTest::newRow("source read, target read")
        << QByteArray() + action(0, 2) + action(1, 2) + "xy" << 4 << QByteArray("abxy");
    QTest::newRow("target copy repeats") << QByteArray() + action(1, 1) + "z" + action(3, 3) + char(0x80) << 4
                                         << QByteArray("zzzz");
    // Source cursor: 0 +2 (cd) 4 -4 (a) 1 +0 (bc) 3; target cursor: 0 +1 (cd) 3 -1 (dab) 5.
    QTest::newRow("source and target copies moving both ways")
        << QByteArray() + action(0, 1) + action(2, 2) + char(0x80 | 4) + action(2, 1) + char(0x80 | 9) + action(2, 2)
               + char(0x80) + action(1, 1) + "x" + action(3, 2) + char(0x80 | 2) + action(3, 3) + char(0x80 | 3)
        << 12 << QByteArray("acdabcxcddab");
    QTest::newRow("source read past the source") << QByteArray() + action(0, 5) << 5 << QByteArray();
    QTest::newRow("source copy before the source")
        << QByteArray() + action(2, 1) + char(0x80 | 3) << 1 << QByteArray();
    QTest::newRow("target copy of what is not written") << QByteArray() + action(3, 1) + char(0x80) << 1
                                                       << QByteArray();
    QTest::newRow("longer than the target") << QByteArray() + action(1, 3) + "xyz" << 2 << QByteArray();
    QTest::newRow("target read past the patch") << QByteArray() + action(1, 16) + "x" << 16 << QByteArray();
    QTest::newRow("shorter than the target") << QByteArray() + action(0, 1) << 3 << QByteArray();
}

void TestRecovery::replayRefusesWhatReachesOutside()
{
    QFETCH(QByteArray, actions);
    QFETCH(int, targetSize);
    QFETCH(QByteArray, result);
    const QByteArray patch = QByteArray("BPS1") + char(0x80 | 4) + char(0x80 | targetSize) + char(0x80) + actions
                             + QByteArray(12, '\0');
    const std::optional<QByteArray> replayed = replayBpsOnto(QByteArray("abcd"), patch);
    QCOMPARE(replayed.has_value(), !result.isEmpty());
    if (replayed)
        QCOMPARE(*replayed, result);
}

void TestRecovery::restoreReadsTheMapFromTheRestoredImage_data()
{
    QTest::addColumn<int>("size");      // of the restored image
    QTest::addColumn<bool>("shown");
    QTest::newRow("a byte of the map changed") << int(CatalogueFixture::RomSize) << true;
    QTest::newRow("cut before the map ends") << int(AlphaTown + 0x20) << false;
}

void TestRecovery::restoreReadsTheMapFromTheRestoredImage()
{
    QFETCH(int, size);
    QFETCH(bool, shown);
    Session s;
    const QByteArray onDisk = s.files.dir.read("rom.gbc");
    QByteArray restored = onDisk.left(size);
    restored[AlphaTown] = char(0x5A);
    RecoveryInfo info;
    info.romPath = s.rom();
    info.romSize = onDisk.size();
    info.romCrc = crc32Of(onDisk);
    info.saved = QDateTime::currentDateTimeUtc();
    info.mapName = QStringLiteral("Alpha Town");
    QDir().mkpath(s.data.path());
    s.state.core.RomFileName = s.rom();   // only to name its recovery file
    s.data.write(QFileInfo(s.recoveryFile()).fileName(), RecoveryFile::make(onDisk, restored, info));
    s.state.core.RomFileName.clear();

    s.prompts.answer(Prompts::Answer::Yes);
    QVERIFY(s.session.loadRom(s.rom()).isDone());
    QVERIFY(s.state.core.rom.bytes() == restored);
    // Picked again from the restored image, with the checks of a pick.
    QCOMPARE(s.state.core.map.isMap(), shown);
    if (shown)
        QCOMPARE(int(s.state.map.MapBytes[0]), 0x5A);
    else
        QVERIFY2(s.prompts.lastText().contains(QStringLiteral("Alpha Town")), qPrintable(s.prompts.lastText()));
    // One entry, and undo brings back the file's image and its map.
    QCOMPARE(s.session.undoStack().count(), 1);
    s.session.undoStack().undo();
    QVERIFY(s.state.core.rom.bytes() == onDisk);
}

void TestRecovery::replayKeepsTheBytesWritten_data()
{
    // The recovery file is made from `original`, the ROM file is `onDisk` now.
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("edited");
    QTest::addColumn<QByteArray>("onDisk");
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("a run after a kept byte changed on disk")
        << QByteArray("5777777x") << QByteArray("5555555x") << QByteArray("9777777y") << QByteArray("9555555y");
    QTest::newRow("a run after written bytes")
        << QByteArray("abcdefghij") << QByteArray("aQRRRRRhij") << QByteArray("Abcdefghi!")
        << QByteArray("AQRRRRRhi!");
}

void TestRecovery::replayKeepsTheBytesWritten()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, edited);
    QFETCH(QByteArray, onDisk);
    QFETCH(QByteArray, result);
    const QByteArray file = RecoveryFile::make(original, edited, RecoveryInfo());
    QCOMPARE(replayBpsOnto(onDisk, file), std::optional<QByteArray>(result));
}

namespace {
// The cartridge header's two checksums, as a Game Boy checks them.
void setChecksums(QByteArray& image)
{
    quint8 header = 0;
    for (int i = 0x134; i <= 0x14C; ++i)
        header = quint8(header - quint8(image[i]) - 1);
    image[0x14D] = char(header);
    quint16 global = 0;
    for (qsizetype i = 0; i < image.size(); ++i)
        if (i != 0x14E && i != 0x14F)
            global = quint16(global + quint8(image[i]));
    image[0x14E] = char(global >> 8);
    image[0x14F] = char(global & 0xFF);
}

enum Edit { Paint, ImageByte, Undo, WriteNow };
} // namespace

void TestRecovery::fileHoldsTheImageAsSaved_data()
{
    // Edits, each followed by nothing (the file written once at the end) or
    // by a write asked at once; then the file, if any, once the writes settle.
    QTest::addColumn<QList<int>>("edits");
    QTest::addColumn<bool>("checksums");   // set on save
    QTest::addColumn<bool>("there");
    QTest::newRow("painted") << QList<int>{Paint} << false << true;
    QTest::newRow("painted, checksums set on save") << QList<int>{Paint} << true << true;
    QTest::newRow("an image byte, then painted") << QList<int>{ImageByte, Paint} << false << true;
    QTest::newRow("an image byte, checksums set on save") << QList<int>{ImageByte} << true << true;
    QTest::newRow("written between edits, the newest wins")
        << QList<int>{Paint, WriteNow, ImageByte, WriteNow, Paint, WriteNow} << true << true;
    QTest::newRow("painted, written, undone: no file") << QList<int>{Paint, WriteNow, Undo} << false << false;
    QTest::newRow("an image byte and painted, undone to the file") << QList<int>{ImageByte, Paint, Undo, Undo}
                                                                   << true << false;
}

void TestRecovery::fileHoldsTheImageAsSaved()
{
    QFETCH(QList<int>, edits);
    QFETCH(bool, checksums);
    QFETCH(bool, there);
    Session s;
    s.session.setFixChecksumsOnSave(checksums);
    QVERIFY(s.session.loadRom(s.rom()).isDone());
    QVERIFY(s.session.pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
    const QByteArray onDisk = s.files.dir.read("rom.gbc");
    QByteArray expected = onDisk;
    QList<QByteArray> history;
    for (int edit : edits) {
        switch (Edit(edit)) {
        case Paint:
            history.append(expected);
            // The block after the one the image holds there.
            expected[AlphaTown] = char(quint8(s.state.core.rom.bytes().at(AlphaTown)) + 1);
            s.paint();
            break;
        case ImageByte:
            history.append(expected);
            QVERIFY(s.session.editRom(QStringLiteral("a byte"), [](RomImage& rom) {
                const quint8 byte = quint8(rom.byteAt(0x100) ^ 0xA5);
                return rom.writeAt(0x100, &byte, 1);
            }).isDone());
            expected[0x100] = char(quint8(expected[0x100]) ^ 0xA5);
            break;
        case Undo:
            s.session.undoStack().undo();
            expected = history.takeLast();
            break;
        case WriteNow:
            s.session.recovery().writeNow();
            break;
        }
    }
    s.session.recovery().writeNow();
    s.session.recovery().settle();
    QCOMPARE(QFile::exists(s.recoveryFile()), there);
    if (!there)
        return;
    if (checksums)
        setChecksums(expected);
    const std::optional<QByteArray> file = RecoveryFile::read(s.recoveryFile());
    QVERIFY(file);
    const RecoveredImage recovered = RecoveryFile::apply(onDisk, *file);
    QVERIFY(recovered.image);
    QVERIFY(*recovered.image == expected);
    QVERIFY(s.session.imageAsSaved() == expected);
    // Byte for byte the file made from the image as saved on the calling thread.
    const std::optional<RecoveryInfo> info = RecoveryFile::readInfo(*file);
    QVERIFY(info);
    QVERIFY(*file == RecoveryFile::make(onDisk, expected, *info));
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
