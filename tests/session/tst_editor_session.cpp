// The editing session without windows: its order of work, its questions and
// the undo of every kind of edit.
#include "session/block_uses_finder.h"
#include "session/editor_session.h"
#include "session/map_file.h"
#include "session/test_play.h"
#include "base/safe_write.h"
#include "model/events/event_tables.h"
#include "model/map/tileset_build.h"
#include "model/patches/mart_patch.h"
#include "model/patches/start_menu_patch.h"
#include "support/catalogue_fixture.h"
#include "support/low_disk_space.h"
#include "support/scripted_prompts.h"

#include <QSignalSpy>
#include <QtTest>
#include <functional>

namespace {

constexpr int RomSize = 0x20000;
constexpr qint64 RouteMap = 0x3000;   // "Route 1": 20 x 18, tileset 1 at 0x8000
constexpr qint64 RouteTable = 0x5000;
constexpr qint64 Warps = 0x6000;

using Edit = std::function<void(EditorSession&)>;

// A session on the editor fixture's catalogue, with events for Route 1,
// "Route 1" picked.
struct Session {
    Session()
    {
        files.dir.write("Events.ini", "[Route 1]\r\nWarps=2\r\nWarp offset=0x6000\r\nSingposts=1\r\n"
                                      "Singpost offset=0x6010\r\nPeoples=1\r\nPeople offset=0x6020\r\n");
        files.dir.write("rom.gbc", TestDir::patternRom(RomSize));
        state = std::make_unique<EditorState>(files.dir.path());
        session = std::make_unique<EditorSession>(*state, prompts);
        QVERIFY(session->loadRom(files.dir.file("rom.gbc")).isDone());
        QVERIFY(session->pickMap(QStringLiteral("Route 1")).outcome.isDone());
    }

    // Everything an edit may change: the image and the three working copies.
    QByteArray snapshot() const
    {
        return state->core.rom.bytes() + buildMapFile(state->core.map, state->map, state->events, state->encounters);
    }
    QByteArray onDisk() const { return files.dir.read("rom.gbc"); }

    CatalogueFixture files;
    ScriptedPrompts prompts;
    std::unique_ptr<EditorState> state;
    std::unique_ptr<EditorSession> session;
};

void paintStroke(EditorSession& s)
{
    s.stamp().setSelectedBlock(7);
    s.beginStroke();
    for (int cell = 0; cell < 5; ++cell)
        s.paintCell(cell);
    s.paintCell(2);   // the same cell again in one stroke
    s.endStroke();
}

} // namespace

class TestEditorSession : public QObject {
    Q_OBJECT
private slots:
    void regionEditsThatChangeNothingPushNothing();
    void everyEditUndoesAndRedoesAsOneStep_data();
    void everyEditUndoesAndRedoesAsOneStep();
    void blockSaveRecomposesThePicture();
    void saveRomWritesEveryWorkingCopy_data();
    void saveRomWritesEveryWorkingCopy();
    void pickAfterAnEditAsks_data();
    void pickAfterAnEditAsks();
    void nothingChangedAsksNothing();
    void setAsideAnswers_data();
    void setAsideAnswers();
    void refusedPickChangesNothing();
    void loadRomDropsTheMap();
    void tilesetBuiltOncePerImage();
    void modifiedFollowsTheHistory();
    void mapFileOfAnotherLengthAsks_data();
    void mapFileOfAnotherLengthAsks();
    void refusedEventsAreReportedOnce();
    void saveSetsChecksumsWhenAsked_data();
    void saveSetsChecksumsWhenAsked();
    void emulatorCommandSplits_data();
    void emulatorCommandSplits();
    void testPlayGivesTheSavedImageToTheEmulator();
    void separateGesturesAreSeparateSteps();
    void findUsesCountsTheMapShownAsEdited_data();
    void findUsesCountsTheMapShownAsEdited();
};

void TestEditorSession::everyEditUndoesAndRedoesAsOneStep_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("name");
    QTest::newRow("paint stroke") << Edit(paintStroke) << "Paint";
    QTest::newRow("stamp drag") << Edit([](EditorSession& s) {
        s.stamp().setRegion(BlockRegion{2, 1, {0x21, 0x22}, 1});
        s.beginStroke();
        for (int x = -1; x < 4; ++x)
            s.regions().placeStamp(QPoint(x, 2), CellMask());
        s.endStroke();
    }) << "Stamp";
    QTest::newRow("bucket fill") << Edit([](EditorSession& s) {
        s.stamp().setSelectedBlock(0x33);
        QVERIFY(s.regions().bucketFill(QPoint(4, 4), CellMask::fromRect(20, 18, QRect(2, 2, 5, 5))).isDone());
    }) << "Bucket Fill";
    QTest::newRow("rectangle fill") << Edit([](EditorSession& s) {
        s.stamp().setRegion(BlockRegion{1, 2, {0x41, 0x42}, 1});
        // The pattern repeats from the rectangle's corner, off the map here.
        QVERIFY(s.regions().fillRect(QRect(15, -1, 9, 9), CellMask()).isDone());
        QCOMPARE(s.state().map.MapBytes[15] * 256 + s.state().map.MapBytes[35], 0x4241);
    }) << "Rectangle Fill";
    QTest::newRow("cut") << Edit([](EditorSession& s) {
        s.stamp().setSelectedBlock(0x51);
        QVERIFY(s.regions().clearCells(CellMask::fromRect(20, 18, QRect(0, 0, 20, 18))).isDone());
    }) << "Clear";
    QTest::newRow("event drag") << Edit([](EditorSession& s) {
        const TEventData warp{1, TEventData::Warp};
        s.events().beginDrag();
        s.events().dragEvent(warp, 3, 3);
        s.events().dragEvent(warp, 4, 4);
        s.events().dragEvent(warp, 5, 6);
        s.events().endDrag();
    }) << "Move Warp 1";
    QTest::newRow("field typed twice") << Edit([](EditorSession& s) {
        s.events().setEventField({1, TEventData::People}, 0, 5);
        s.events().setEventField({1, TEventData::People}, 0, 55);
    }) << "Change Person 1";
    QTest::newRow("encounter number") << Edit([](EditorSession& s) { s.encounters().setEncounterNumber(Morning, 0, 99); })
                                      << "Change Wild Critter";
    QTest::newRow("encounter level") << Edit([](EditorSession& s) { s.encounters().setEncounterLevel(Night, 6, 42); })
                                     << "Change Wild Critter";
    QTest::newRow("randomize") << Edit([](EditorSession& s) {
        s.encounters().beginRandomize();
        for (int time = Morning; time <= Night; ++time)
            for (int k = 0; k < SlotsPerTime; ++k)
                s.encounters().setEncounterSlot(time, k, {time + 1, k + 100});
        s.encounters().endRandomize();
    }) << "Randomize";
    QTest::newRow("map file") << Edit([](EditorSession& s) {
        const MapFileLayout layout = MapFileLayout::of(s.state().core.map, s.state().events);
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(QByteArray(layout.totalBytes(), '\x03'));
        file.close();
        QVERIFY(s.loadMapFile(file.fileName()).isDone());
    }) << "Load Map";
    QTest::newRow("start menu") << Edit([](EditorSession& s) {
        QVERIFY(s.editRom(QStringLiteral("Hide SAVE"), [](RomImage& rom) {
            return setStartMenuEntry(rom, StartMenuEntries[5].offset, false);
        }).isDone());
    }) << "Hide SAVE";
    QTest::newRow("marts") << Edit([](EditorSession& s) {
        QVERIFY(s.editRom(QStringLiteral("Make All Marts Free"), [](RomImage& rom) { return makeAllMartsFree(rom); }).isDone());
    }) << "Make All Marts Free";
}

void TestEditorSession::everyEditUndoesAndRedoesAsOneStep()
{
    QFETCH(Edit, edit);
    QFETCH(QString, name);
    Session s;
    const QByteArray before = s.snapshot();
    edit(*s.session);
    const QByteArray after = s.snapshot();
    QVERIFY(after != before);
    QUndoStack& history = s.session->undoStack();
    QCOMPARE(history.count(), 1);
    QCOMPARE(history.undoText(), name);
    history.undo();
    QCOMPARE(s.snapshot(), before);
    history.redo();
    QCOMPARE(s.snapshot(), after);
    // A map pick starts a new history.
    QVERIFY(s.session->pickMap(QStringLiteral("Alpha Town")).outcome.isDone() || s.prompts.shown.size() > 0);
    QCOMPARE(history.count(), 0);
}

void TestEditorSession::regionEditsThatChangeNothingPushNothing()
{
    Session s;
    const MapState& map = s.state->map;
    RegionEdits& r = s.session->regions();
    s.session->stamp().setSelectedBlock(map.MapBytes[21]);
    QVERIFY(r.clearCells(CellMask::fromRect(20, 18, QRect(1, 1, 1, 1))).isDeclined());
    s.session->stamp().setRegion(r.copyCells(CellMask::fromRect(20, 18, QRect(2, 3, 4, 2))));
    QVERIFY(r.fillRect(QRect(2, 3, 4, 2), CellMask()).isDeclined());
    s.session->beginStroke();
    QVERIFY(r.placeStamp(QPoint(2, 3), CellMask()).isDeclined());
    QVERIFY(r.placeStamp(QPoint(30, 3), CellMask()).isDeclined());   // wholly off the map
    s.session->endStroke();
    QVERIFY(r.bucketFill(QPoint(25, 0), CellMask()).isDeclined());
    QCOMPARE(s.session->undoStack().count(), 0);
    QVERIFY(!s.session->isModified());
}

void TestEditorSession::blockSaveRecomposesThePicture()
{
    Session s;
    const QImage before = s.state->pictures.picture(1, 2).copy();
    QSignalSpy redraws(s.session.get(), &EditorSession::mapPictureChanged);
    const QByteArray tiles(16, '\x09');
    QVERIFY(s.session->editRom(QStringLiteral("Save Block"), [&](RomImage& rom) {
        return rom.writeAt(0x8000 + 2 * 16, tiles.constData(), 16);
    }).isDone());
    QCOMPARE(redraws.count(), 1);
    QCOMPARE(s.state->pictures.picture(1, 2).pixel(8, 8), QRgb(TestDir::tileColor(9)));
    s.session->undoStack().undo();
    QCOMPARE(s.state->pictures.picture(1, 2), before);
    QCOMPARE(redraws.count(), 2);
    // A patch that refuses is said; one that changes nothing is no entry.
    QCOMPARE(s.session->editRom(QStringLiteral("Save Block"), [](RomImage&) { return false; }).refusal,
             QStringLiteral("Save Block: the bytes it changes lie outside this ROM image."));
    QVERIFY(s.session->editRom(QStringLiteral("Save Block"), [](RomImage&) { return true; }).isDeclined());
}

void TestEditorSession::saveRomWritesEveryWorkingCopy_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<int>("byte");
    QTest::newRow("map bytes") << Edit(paintStroke) << RouteMap + 4 << 7;
    QTest::newRow("event tables") << Edit([](EditorSession& s) { s.events().setEventField({2, TEventData::Warp}, 4, 77); })
                                  << Warps + 5 + 4 << 77;
    QTest::newRow("wild tables") << Edit([](EditorSession& s) { s.encounters().setEncounterNumber(Day, 1, 201); })
                                 << RouteTable + 2 * (SlotsPerTime + 1) + 1 << 201;
}

void TestEditorSession::saveRomWritesEveryWorkingCopy()
{
    QFETCH(Edit, edit);
    QFETCH(qint64, offset);
    QFETCH(int, byte);
    Session s;
    edit(*s.session);
    QVERIFY(s.session->saveRom().isDone());
    QCOMPARE(int(quint8(s.onDisk().at(offset))), byte);
    QByteArray expected = TestDir::patternRom(RomSize);
    QCOMPARE(s.onDisk().size(), expected.size());
    QVERIFY(!s.session->isModified());
}

void TestEditorSession::pickAfterAnEditAsks_data()
{
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::newRow("yes") << Prompts::Answer::Yes;
    QTest::newRow("no") << Prompts::Answer::No;
    QTest::newRow("cancel") << Prompts::Answer::Cancel;
}

void TestEditorSession::pickAfterAnEditAsks()
{
    QFETCH(Prompts::Answer, answer);
    Session s;
    const int original = s.state->core.rom.byteAt(RouteMap);
    paintStroke(*s.session);
    s.prompts.answer(answer);
    const EditorSession::PickResult result = s.session->pickMap(QStringLiteral("Alpha Town"));
    QCOMPARE(s.prompts.shown.size(), size_t(1));
    QCOMPARE(s.prompts.shown[0].buttons, Prompts::Buttons::YesNoCancel);
    QVERIFY(s.prompts.shown[0].text.contains(QLatin1String("\"Route 1\"")));
    QCOMPARE(result.outcome.isDone(), answer != Prompts::Answer::Cancel);
    QCOMPARE(result.outcome.isDeclined(), answer == Prompts::Answer::Cancel);
    QCOMPARE(s.state->core.rom.byteAt(RouteMap), answer == Prompts::Answer::Yes ? 7 : original);
    if (answer == Prompts::Answer::Cancel) {
        QCOMPARE(s.state->core.map.name, QStringLiteral("Route 1"));
        QCOMPARE(int(s.state->map.MapBytes[0]), 7);
        QCOMPARE(s.session->undoStack().count(), 1);
    }
    // Kept in the image, the edit is still unsaved; the file is written only by a save.
    QCOMPARE(s.session->isModified(), answer != Prompts::Answer::No);
    QCOMPARE(s.onDisk(), TestDir::patternRom(RomSize));
}

void TestEditorSession::nothingChangedAsksNothing()
{
    Session s;
    paintStroke(*s.session);
    s.session->undoStack().undo();
    QVERIFY(s.session->pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
    QVERIFY(s.session->maySetAside());
    QVERIFY(s.prompts.shown.empty());
}

void TestEditorSession::setAsideAnswers_data()
{
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("save") << Prompts::Answer::Save << true << true;
    QTest::newRow("save fails") << Prompts::Answer::Save << false << false;
    QTest::newRow("discard") << Prompts::Answer::Discard << true << true;
    QTest::newRow("cancel") << Prompts::Answer::Cancel << true << false;
}

void TestEditorSession::setAsideAnswers()
{
    QFETCH(Prompts::Answer, answer);
    QFETCH(bool, writable);
    QFETCH(bool, goesOn);
    Session s;
    paintStroke(*s.session);
    if (!writable)
        s.state->core.RomFileName = s.files.dir.file("missing/rom.gbc");
    s.prompts.answer(answer);
    QCOMPARE(s.session->maySetAside(), goesOn);
    QCOMPARE(s.prompts.shown[0].buttons, Prompts::Buttons::SaveDiscardCancel);
    const bool saved = answer == Prompts::Answer::Save && writable;
    QCOMPARE(int(quint8(s.onDisk().at(RouteMap))), saved ? 7 : int(RouteMap % 251));
    QCOMPARE(s.session->isModified(), !saved);
    if (!writable)
        QCOMPARE(s.prompts.lastText(), QStringLiteral("Cannot create file %1").arg(s.state->core.RomFileName));
}

void TestEditorSession::refusedPickChangesNothing()
{
    Session s;
    s.files.dir.write("Maps.Ini", s.files.dir.read("Maps.Ini")
                                      + "[Bad]\r\nStart offset=0x1000\r\nEnd offset=0x1001\r\nX size=2\r\nY size=1\r\nTileset=99\r\n");
    paintStroke(*s.session);
    const QByteArray before = s.snapshot();
    const EditorSession::PickResult result = s.session->pickMap(QStringLiteral("Bad"));
    QVERIFY(result.outcome.isRefused());
    QVERIFY(result.outcome.refusal.contains(QLatin1String("tileset 99")));
    // Refused before anything is asked or changed; the window shows the refusal once.
    QVERIFY(s.prompts.shown.empty());
    QCOMPARE(s.state->core.map.name, QStringLiteral("Route 1"));
    QCOMPARE(s.snapshot(), before);
    QCOMPARE(s.session->undoStack().count(), 1);
}

void TestEditorSession::loadRomDropsTheMap()
{
    Session s;
    paintStroke(*s.session);
    QSignalSpy dropped(s.session.get(), &EditorSession::mapDropped);
    s.prompts.answer(Prompts::Answer::Discard);
    QVERIFY(s.session->loadRom(s.files.dir.file("rom.gbc")).isDone());
    QCOMPARE(dropped.count(), 1);
    QVERIFY(!s.state->core.map.isMap());
    QVERIFY(!s.state->pictures.built(1));
    QVERIFY(s.state->Pics.isNull());
    QCOMPARE(s.state->events.WarpCount, 0);
    QCOMPARE(s.state->encounters, EncounterTables{});
    QCOMPARE(s.session->undoStack().count(), 0);
    QVERIFY(!s.session->isModified());
}

void TestEditorSession::tilesetBuiltOncePerImage()
{
    Session s;
    QSignalSpy progress(s.session.get(), &EditorSession::tilesetProgress);
    for (const char* map : {"Alpha Town", "Beta Town", "Route 1", "Beta Town"})
        QVERIFY(s.session->pickMap(QString::fromLatin1(map)).outcome.isDone());
    int builds = 0;
    for (const QList<QVariant>& step : progress)
        builds += step.at(0).toInt() == 0;
    QCOMPARE(builds, 1);   // tileset 2; tileset 1 was built by the first pick
    s.session->loadRom(s.files.dir.file("rom.gbc"));
    progress.clear();
    QVERIFY(s.session->pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
    QCOMPARE(progress.first().at(0).toInt(), 0);
}

void TestEditorSession::modifiedFollowsTheHistory()
{
    Session s;
    QSignalSpy modified(s.session.get(), &EditorSession::modifiedChanged);
    paintStroke(*s.session);
    QVERIFY(s.session->isModified());
    s.session->undoStack().undo();
    QVERIFY(!s.session->isModified());
    s.session->undoStack().redo();
    QVERIFY(s.session->saveRom().isDone());
    QVERIFY(!s.session->isModified());
    QCOMPARE(modified.count(), 4);
    QCOMPARE(modified.last().at(0).toBool(), false);
}

void TestEditorSession::mapFileOfAnotherLengthAsks_data()
{
    QTest::addColumn<int>("delta");
    QTest::newRow("short") << -1;
    QTest::newRow("long") << 10;
}

void TestEditorSession::mapFileOfAnotherLengthAsks()
{
    QFETCH(int, delta);
    Session s;
    const qint64 wanted = MapFileLayout::of(s.state->core.map, s.state->events).totalBytes();
    s.files.dir.write("other.map", QByteArray(wanted + delta, '\x04'));
    const QByteArray before = s.snapshot();
    s.prompts.answer(Prompts::Answer::No);
    QVERIFY(s.session->loadMapFile(s.files.dir.file("other.map")).isDeclined());
    QCOMPARE(s.prompts.shown.size(), size_t(1));
    QVERIFY(s.prompts.shown[0].text.contains(QString::number(wanted + delta)));
    QVERIFY(s.prompts.shown[0].text.contains(QString::number(wanted)));
    QCOMPARE(s.snapshot(), before);
    QCOMPARE(s.session->undoStack().count(), 0);

    s.prompts.answer(Prompts::Answer::Yes);
    QVERIFY(s.session->loadMapFile(s.files.dir.file("other.map")).isDone());
    QCOMPARE(int(s.state->map.MapBytes[0]), 4);
}

void TestEditorSession::refusedEventsAreReportedOnce()
{
    Session s;
    s.files.dir.write("Events.ini", "[Route 1]\r\nWarps=300\r\nWarp offset=0x6000\r\n");
    s.prompts.answer(Prompts::Answer::No);
    QVERIFY(s.session->pickMap(QStringLiteral("Route 1")).outcome.isDone());
    QCOMPARE(s.prompts.shown.size(), size_t(1));
    QVERIFY(s.prompts.lastText().contains(QLatin1String("300")));
    QVERIFY(s.session->saveRom().isDone());
    QVERIFY(s.session->saveRom().isDone());
    QCOMPARE(s.prompts.shown.size(), size_t(1));
}

// A cell painted twice in a stroke undoes to its byte from before the stroke;
// two strokes, or two drags of one event, are two steps.
void TestEditorSession::separateGesturesAreSeparateSteps()
{
    Session s;
    EditorSession& session = *s.session;
    QList<QByteArray> states{s.snapshot()};
    for (int block : {7, 9}) {
        session.beginStroke();
        for (int again : {block, block + 1}) {
            session.stamp().setSelectedBlock(again);
            session.paintCell(0);
        }
        session.endStroke();
        states << s.snapshot();
    }
    for (int x : {3, 6}) {
        session.events().beginDrag();
        session.events().dragEvent({1, TEventData::Warp}, x, 2);
        session.events().endDrag();
        states << s.snapshot();
    }
    QCOMPARE(session.undoStack().count(), 4);
    for (qsizetype k = states.size() - 2; k >= 0; --k) {
        session.undoStack().undo();
        QCOMPARE(s.snapshot(), states.at(k));
    }
}

QTEST_MAIN(TestEditorSession)
void TestEditorSession::findUsesCountsTheMapShownAsEdited_data()
{
    // The pattern image holds block 100 on cell 20 of Alpha Town and on cell
    // 111 of Route 1 (the map shown), both of tileset 1.
    QTest::addColumn<QList<int>>("cells");   // of Route 1, painted with `block` and not saved
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("uses");
    QTest::newRow("nothing unsaved") << QList<int>{} << 100 << "Alpha Town 1, Route 1 1";
    QTest::newRow("four unsaved uses") << QList<int>{0, 1, 2, 359} << 100 << "Alpha Town 1, Route 1 5";
    QTest::newRow("the one use painted over") << QList<int>{111} << 7 << "Alpha Town 1";
}

void TestEditorSession::findUsesCountsTheMapShownAsEdited()
{
    QFETCH(QList<int>, cells);
    QFETCH(int, block);
    QFETCH(QString, uses);
    Session s;
    s.session->stamp().setSelectedBlock(block);
    s.session->beginStroke();
    for (int cell : std::as_const(cells))
        s.session->paintCell(cell);
    s.session->endStroke();
    QStringList found;
    for (const BlockUse& use : findBlockUses(s.state->core.catalogue, s.state->core.rom, s.state->map, 1, 100))
        found << QStringLiteral("%1 %2").arg(use.map).arg(use.count);
    QCOMPARE(found.join(QLatin1String(", ")), uses);
    QVERIFY(s.onDisk() == s.state->core.rom.bytes());   // nothing was saved for it
}

#include "tst_editor_session.moc"

void TestEditorSession::saveSetsChecksumsWhenAsked_data()
{
    QTest::addColumn<bool>("fix");
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<QByteArray>("onDisk");   // bytes 0x14D..0x14F
    // Pattern bytes 0x14D..0x14F are 82, 83, 84; the header sums to 2A and
    // the painted image, with it, to E6F9.
    QTest::newRow("off") << false << qint64(-1) << QByteArray::fromHex("525354");
    QTest::newRow("on") << true << qint64(-1) << QByteArray::fromHex("2ae6f9");
    QTest::newRow("on, disk full") << true << qint64(0) << QByteArray::fromHex("525354");
}

void TestEditorSession::saveSetsChecksumsWhenAsked()
{
    QFETCH(bool, fix);
    QFETCH(qint64, freeBytes);
    QFETCH(QByteArray, onDisk);
    Session s;
    s.session->setFixChecksumsOnSave(fix);
    paintStroke(*s.session);
    QCOMPARE(s.session->imageAsSaved().mid(0x14D, 3), fix ? QByteArray::fromHex("2ae6f9") : onDisk);
    std::optional<LowDiskSpace> room;
    if (freeBytes >= 0)
        room.emplace(freeBytes);
    const bool saved = s.session->saveRom().isDone();
    room.reset();
    QCOMPARE(saved, freeBytes < 0);
    QCOMPARE(s.onDisk().mid(0x14D, 3), onDisk);
    // The image holds what the file holds; a failed save changed no checksum.
    QCOMPARE(s.state->core.rom.bytes().mid(0x14D, 3), onDisk);
}

void TestEditorSession::emulatorCommandSplits_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    const QString f = QStringLiteral("/tmp/a b.gbc");
    QTest::newRow("no %f: the file comes last") << "mgba-qt -f" << "mgba-qt" << QStringList{"-f", f};
    QTest::newRow("%f alone and inside a word") << "emu --rom=%f %f" << "emu" << QStringList{"--rom=" + f, f};
    QTest::newRow("quoted program") << "\"/opt/my emu/run\" %f" << "/opt/my emu/run" << QStringList{f};
}

void TestEditorSession::emulatorCommandSplits()
{
    QFETCH(QString, command);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    const ProgramCall call = emulatorCall(command, QStringLiteral("/tmp/a b.gbc"));
    QCOMPARE(call.program, program);
    QCOMPARE(call.arguments, arguments);
}

void TestEditorSession::testPlayGivesTheSavedImageToTheEmulator()
{
    Session s;
    paintStroke(*s.session);
    const QByteArray image = s.state->core.rom.bytes();
    // The emulator: a script that keeps a copy of the file it is given.
    const QString copy = s.files.dir.file("played.gbc");
    s.files.dir.write("emulator.sh", QStringLiteral("cp \"$2\" \"%1.part\" && mv \"%1.part\" \"%1\"\n").arg(copy).toUtf8());
    TestPlay play;
    const QString command = QStringLiteral("sh \"%1\" -r %f").arg(s.files.dir.file("emulator.sh"));
    const SessionOutcome started = play.start(*s.session, command);
    QVERIFY(started.isDone());
    QCOMPARE(started.note, QStringLiteral("Playing rom.gbc in sh."));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 30000);
    QByteArray expected = TestDir::patternRom(RomSize);
    expected.replace(RouteMap, 5, QByteArray(5, char(7)));
    QVERIFY(s.files.dir.read("played.gbc") == expected);
    QVERIFY(s.onDisk() == TestDir::patternRom(RomSize));
    QVERIFY(s.state->core.rom.bytes() == image);
    QVERIFY(s.session->isModified());
}
