// Make Patch and Apply Patch through the editing session: the undo entry,
// the pick's question, and refusals that change nothing.
#include "session/editor_session.h"
#include "session/patch_apply_job.h"
#include "model/rom/bps_patch.h"
#include "model/rom/ips_patch.h"
#include "support/catalogue_fixture.h"
#include "support/scripted_prompts.h"

#include <QtTest>

#include <algorithm>

namespace {

constexpr qint64 RouteMap = 0x3000;   // "Route 1", 20 x 18

struct Rig {
    Rig()
    {
        state = std::make_unique<EditorState>(files.dir.path());
        session = std::make_unique<EditorSession>(*state, prompts);
        QVERIFY(session->loadRom(files.dir.file("rom.gbc")).isDone());
        QVERIFY(session->pickMap(QStringLiteral("Route 1")).outcome.isDone());
    }
    // Paints block 7 into the first five cells: a working copy not yet in the image.
    void paint()
    {
        session->stamp().setSelectedBlock(7);
        session->beginStroke();
        for (int cell = 0; cell < 5; ++cell)
            session->paintCell(cell);
        session->endStroke();
    }
    QByteArray image() const { return state->core.rom.bytes(); }
    QString patchFile(const QString& name, const QByteArray& bytes)
    {
        files.dir.write(name, bytes);
        return files.dir.file(name);
    }

    CatalogueFixture files;
    ScriptedPrompts prompts;
    std::unique_ptr<EditorState> state;
    std::unique_ptr<EditorSession> session;
};

QByteArray painted(QByteArray image)
{
    image.replace(RouteMap, 5, QByteArray(5, '\x07'));
    return image;
}

} // namespace

class TestSessionPatches : public QObject {
    Q_OBJECT
private slots:
    void applyIsOneUndoEntry_data();
    void applyIsOneUndoEntry();
    void questionComesFirst_data();
    void questionComesFirst();
    void editsMeanwhileRefuseTheResult_data();
    void editsMeanwhileRefuseTheResult();
    void refusalChangesNothing_data();
    void refusalChangesNothing();
    void exportWritesTheSavedImage();
    void jobGivesWhatApplyingAtOnceGives_data();
    void jobGivesWhatApplyingAtOnceGives();
    void stoppedJobChangesNothing_data();
    void stoppedJobChangesNothing();
};

void TestSessionPatches::applyIsOneUndoEntry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::newRow("bps, longer") << "p.bps" << CatalogueFixture::RomSize + 3000;
    QTest::newRow("ips, shorter") << "p.ips" << CatalogueFixture::RomSize - 0x1000;
}

void TestSessionPatches::applyIsOneUndoEntry()
{
    QFETCH(QString, name);
    QFETCH(int, size);
    Rig rig;
    const QByteArray original = rig.image();
    QByteArray target = original;
    target.resize(size, '\x5C');
    target[RouteMap] = '\x21';   // the map's first block
    const QByteArray patch = name.endsWith("bps") ? makeBpsPatch(original, target)
                                                  : *makeIpsPatch(original, target).image;
    QVERIFY(rig.session->applyPatch(rig.patchFile(name, patch)).isDone());
    QCOMPARE(rig.image(), target);
    QCOMPARE(rig.state->map.MapBytes[0], quint8(0x21));   // the map was read again
    QCOMPARE(rig.session->undoStack().count(), 1);
    QVERIFY(rig.session->isModified());

    rig.session->undoStack().undo();
    QCOMPARE(rig.image(), original);
    QCOMPARE(rig.state->map.MapBytes[0], quint8(original[RouteMap]));
    QVERIFY(!rig.session->isModified());
    rig.session->undoStack().redo();
    QCOMPARE(rig.image(), target);
    QCOMPARE(rig.files.dir.read("rom.gbc"), original);
}

void TestSessionPatches::questionComesFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<bool>("kept");
    QTest::newRow("Yes: kept, then patched") << int(Prompts::Answer::Yes) << true << true;
    QTest::newRow("No: dropped, then patched") << int(Prompts::Answer::No) << true << false;
    QTest::newRow("Cancel: nothing") << int(Prompts::Answer::Cancel) << false << false;
}

void TestSessionPatches::questionComesFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, applied);
    QFETCH(bool, kept);
    Rig rig;
    const QByteArray original = rig.image();
    rig.paint();
    // Changes one byte outside the map, at 0x100, to 0xEE.
    const QByteArray ips = QByteArray("PATCH") + QByteArray::fromHex("0001000001EE") + "EOF";
    rig.prompts.answer(Prompts::Answer(answer));
    const SessionOutcome outcome = rig.session->applyPatch(rig.patchFile("one.ips", ips));
    QCOMPARE(outcome.state, applied ? SessionOutcome::State::Done : SessionOutcome::State::Declined);
    QCOMPARE(rig.prompts.shown.size(), size_t(1));

    QByteArray expected = kept ? painted(original) : original;
    if (applied)
        expected[0x100] = '\xEE';
    QCOMPARE(rig.image(), expected);
    // The map shows what the image holds, or, after Cancel, the painting.
    QCOMPARE(rig.state->map.MapBytes[0], quint8(kept || !applied ? 7 : original[RouteMap]));
}

void TestSessionPatches::editsMeanwhileRefuseTheResult_data()
{
    QTest::addColumn<int>("meanwhile");   // 0 nothing, 1 a paint stroke, 2 an undo, 3 another pick
    QTest::newRow("nothing: applied") << 0;
    QTest::newRow("painted") << 1;
    QTest::newRow("undone") << 2;
    QTest::newRow("another map picked") << 3;
}

void TestSessionPatches::editsMeanwhileRefuseTheResult()
{
    // A change computed away from the session (a script on its worker)
    // must not drop what the user did while it ran.
    QFETCH(int, meanwhile);
    Rig rig;
    rig.paint();
    rig.prompts.answer(Prompts::Answer::Yes);
    const EditorSession::WholeImageStart start = rig.session->beginWholeImageChange();
    QVERIFY(start.outcome.isDone() && start.keep);
    QVERIFY(start.image == painted(rig.image()));
    QByteArray result = start.image;
    result[0x10] = '\x42';
    if (meanwhile == 1) {
        rig.session->beginStroke();
        rig.session->paintCell(40);
        rig.session->endStroke();
    } else if (meanwhile == 2) {
        rig.session->undoStack().undo();
    } else if (meanwhile == 3) {
        rig.prompts.answer(Prompts::Answer::Yes);
        QVERIFY(rig.session->pickMap(QStringLiteral("Alpha Town")).outcome.isDone());
    }
    const QByteArray before = rig.image();
    const SessionOutcome finished = rig.session->finishWholeImageChange(start, QStringLiteral("Run"), result);
    QCOMPARE(finished.isDone(), meanwhile == 0);
    QVERIFY(rig.image() == (meanwhile == 0 ? result : before));
}

void TestSessionPatches::refusalChangesNothing_data()
{
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<QString>("error");
    const QByteArray other(100, '\x01');
    QTest::newRow("another image") << makeBpsPatch(other, other + "x") << "This patch was made for another image.";
    QTest::newRow("not a patch") << QByteArray("hello") << "p.bps is neither an IPS nor a BPS patch.";
}

void TestSessionPatches::refusalChangesNothing()
{
    QFETCH(QByteArray, patch);
    QFETCH(QString, error);
    Rig rig;
    const QByteArray original = rig.image();
    rig.paint();
    rig.prompts.answer(Prompts::Answer::Yes);   // keep the painting: still nothing may change
    QCOMPARE(rig.session->applyPatch(rig.patchFile("p.bps", patch)).refusal, error);
    QCOMPARE(rig.image(), original);
    QCOMPARE(rig.session->undoStack().count(), 1);
    QCOMPARE(rig.state->map.MapBytes[4], quint8(7));
}

void TestSessionPatches::exportWritesTheSavedImage()
{
    Rig rig;
    const QByteArray original = rig.image();
    rig.paint();
    const QString path = rig.files.dir.file("out.bps");
    QVERIFY(rig.session->makePatch(rig.patchFile("original.gbc", original), path).isDone());
    QCOMPARE(applyBpsPatch(original, rig.files.dir.read("out.bps")).image, std::optional(painted(original)));
    QCOMPARE(rig.image(), original);
    QCOMPARE(rig.files.dir.read("rom.gbc"), original);
}

void TestSessionPatches::jobGivesWhatApplyingAtOnceGives_data()
{
    QTest::addColumn<QString>("name");       // "bad" when the file is no patch
    QTest::addColumn<bool>("paintMeanwhile");
    QTest::addColumn<bool>("finishAtOnce");  // Load Rom and closing the window do
    QTest::addColumn<bool>("same");          // the patch gives the image as it is
    QTest::newRow("bps, by the event loop") << "p.bps" << false << false << false;
    QTest::newRow("ips, finished at once") << "p.ips" << false << true << false;
    QTest::newRow("no patch") << "bad" << false << false << false;
    QTest::newRow("painted meanwhile") << "p.bps" << true << false << false;
    QTest::newRow("painted meanwhile, finished at once") << "p.ips" << true << true << false;
    QTest::newRow("bps changing nothing") << "p.bps" << false << false << true;
}

void TestSessionPatches::jobGivesWhatApplyingAtOnceGives()
{
    QFETCH(QString, name);
    QFETCH(bool, paintMeanwhile);
    QFETCH(bool, finishAtOnce);
    QFETCH(bool, same);
    Rig atOnce;
    Rig later;
    const QByteArray original = atOnce.image();
    QByteArray target = original + QByteArray(0x800, '\x11');
    target[RouteMap + 3] = '\x21';
    if (same)
        target = original;
    const QByteArray patch = name == "bad"             ? QByteArray("hello")
                             : name.endsWith("bps") ? makeBpsPatch(original, target)
                                                    : *makeIpsPatch(original, target).image;
    QSignalSpy atOnceSaid(atOnce.session.get(), &EditorSession::statusText);
    QSignalSpy laterSaid(later.session.get(), &EditorSession::statusText);
    const SessionOutcome expected = atOnce.session->applyPatch(atOnce.patchFile(name, patch));

    PatchApplyJob job(*later.session);
    QSignalSpy finished(&job, &PatchApplyJob::finished);
    QVERIFY(job.start(later.patchFile(name, patch)).isDone());
    QVERIFY(job.isRunning());
    QVERIFY(job.start(later.patchFile(name, patch)).isRefused());   // one at a time
    if (paintMeanwhile)
        later.paint();
    const QByteArray before = later.image();
    if (finishAtOnce)
        job.finish();
    else
        QVERIFY(finished.wait(5000));
    QCOMPARE(finished.count(), 1);
    QVERIFY(!job.isRunning());
    const auto outcome = finished.at(0).at(0).value<SessionOutcome>();
    if (paintMeanwhile) {
        QVERIFY(outcome.isRefused());
        QCOMPARE(outcome.refusal,
                 QStringLiteral("The image was changed meanwhile; the result of \"Apply Patch\" is not applied."));
        QCOMPARE(later.image(), before);
        QCOMPARE(later.state->map.MapBytes[4], quint8(7));
        return;
    }
    QCOMPARE(outcome.state, expected.state);
    QCOMPARE(outcome.refusal, expected.refusal);
    QCOMPARE(later.image(), atOnce.image());
    QCOMPARE(later.image() == target, expected.isDone());
    QCOMPARE(later.session->undoStack().count(), expected.isDone() && !same ? 1 : 0);
    QCOMPARE(later.state->map.MapBytes[3], atOnce.state->map.MapBytes[3]);
    QCOMPARE(later.session->undoStack().count(), atOnce.session->undoStack().count());
    if (expected.isDone() && !same)
        QCOMPARE(later.session->undoStack().text(0), QStringLiteral("Apply Patch"));
    const auto texts = [](const QSignalSpy& spy) {
        QStringList said;
        for (int i = 0; i < spy.count(); ++i)
            said << spy.at(i).at(0).toString();
        return said;
    };
    QCOMPARE(texts(laterSaid), texts(atOnceSaid));
}

void TestSessionPatches::stoppedJobChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    // The report the stop comes at; -1 the last one, -3 after the worker
    // ended, before the hand-over runs; -2 none.
    QTest::addColumn<int>("stopAt");
    for (const char* name : {"p.ips", "p.bps"}) {
        QTest::addRow("%s, at the first report", name) << QString::fromLatin1(name) << 0;
        QTest::addRow("%s, midway", name) << QString::fromLatin1(name) << 2;
        QTest::addRow("%s, once whole, before the handover", name) << QString::fromLatin1(name) << -1;
        QTest::addRow("%s, worker ended, before the handover", name) << QString::fromLatin1(name) << -3;
        QTest::addRow("%s, not stopped", name) << QString::fromLatin1(name) << -2;
    }
}

void TestSessionPatches::stoppedJobChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(int, stopAt);
    Rig rig;
    const QByteArray original = rig.image();
    rig.paint();
    // Over a mebibyte of new bytes, runs of noise between runs of one byte:
    // many records and actions, and many reports, in either format.
    QByteArray target = original;
    quint32 seed = 12345;
    for (int i = 0; i < (1 << 20) + 12345; ++i) {
        seed = seed * 1103515245u + 12345u;
        target.append(i % 1000 < 900 ? char(seed >> 24) : '\0');
    }
    const QByteArray patch = name.endsWith(QStringLiteral("bps")) ? makeBpsPatch(painted(original), target)
                                                                   : *makeIpsPatch(painted(original), target).image;
    PatchApplyJob job(*rig.session);
    QList<qint64> reports;
    qint64 total = 0;
    job.progress().observer = [&](qint64 done, qint64 all) {
        // The worker's thread; the test's thread waits in finished.wait().
        const bool last = done == all;
        if (stopAt == int(reports.size()) || (stopAt == -1 && last))
            job.cancel();
        reports.append(done);
        total = all;
    };
    QSignalSpy finished(&job, &PatchApplyJob::finished);
    QSignalSpy said(rig.session.get(), &EditorSession::statusText);
    rig.prompts.answer(Prompts::Answer::Yes);   // keep the painting
    QVERIFY(job.start(rig.patchFile(name, patch)).isDone());
    if (stopAt == -3) {
        job.waitForWorker();
        QCOMPARE(finished.count(), 0);
        job.cancel();
    }
    QVERIFY(finished.wait(10000));
    const auto outcome = finished.at(0).at(0).value<SessionOutcome>();

    QVERIFY(std::is_sorted(reports.begin(), reports.end()));
    if (stopAt == -2) {
        QVERIFY(outcome.isDone());
        QVERIFY(reports.size() >= 4);
        QCOMPARE(reports.last(), total);
        QCOMPARE(job.progress().done(), job.progress().total());
        QVERIFY(rig.image() == target);
        QCOMPARE(rig.session->undoStack().text(rig.session->undoStack().count() - 1), QStringLiteral("Apply Patch"));
        return;
    }
    // The worker stops at the report after the stop, or ends whole when it came at the last.
    const bool whole = stopAt == -1 || stopAt == -3;
    QCOMPARE(reports.size(), whole ? reports.size() : stopAt + 1);
    QCOMPARE(reports.last() == total, whole);
    QVERIFY(outcome.isDeclined());
    QCOMPARE(said.last().at(0).toString(), QStringLiteral("Apply Patch cancelled: %1 was not applied.").arg(name));
    // No undo entry, the image as it was and the painting still in the working copy.
    QVERIFY(rig.image() == original);
    QCOMPARE(rig.session->undoStack().count(), 1);
    QVERIFY(rig.session->undoStack().text(0) != QStringLiteral("Apply Patch"));
    QCOMPARE(rig.state->map.MapBytes[4], quint8(7));
    // A stop does not outlive its patch: the next one runs whole.
    job.progress().observer = nullptr;
    rig.prompts.answer(Prompts::Answer::Yes);
    QVERIFY(job.start(rig.patchFile(name, patch)).isDone());
    job.finish();
    QVERIFY(rig.image() == target);
}

QTEST_GUILESS_MAIN(TestSessionPatches)
#include "tst_session_patches.moc"
