// Make Patch and Apply Patch (the job the window and the command line use):
// the undo entry, the pick's question, and refusals that change nothing.
#include "session/editor_session.h"
#include "session/image_patches.h"
#include "session/patch_apply_job.h"
#include "model/rom/bps_patch.h"
#include "model/rom/ips_patch.h"
#include "session_rig.h"

#include <QtTest>

#include <algorithm>

namespace {

constexpr qint64 RouteMap = 0x3000;   // "Route 1", 20 x 18

struct Rig : SessionRig {
    Rig() { job = std::make_unique<PatchApplyJob>(*session); }
    // Block 7 into the first five cells.
    void paint() { SessionRig::paint(7, 5); }
    // Apply Patch, its result handed over at once or by the event loop.
    SessionOutcome apply(const QString& path, bool atOnce = true)
    {
        QSignalSpy finished(job.get(), &PatchApplyJob::finished);
        const SessionOutcome started = job->start(path);
        if (!started.isDone())
            return started;
        if (atOnce)
            job->finish();
        return finished.count() == 1 || finished.wait(5000) ? finished.at(0).at(0).value<SessionOutcome>()
                                                            : SessionOutcome::refused(QStringLiteral("no result"));
    }
    QString patchFile(const QString& name, const QByteArray& bytes)
    {
        files.dir.write(name, bytes);
        return files.dir.file(name);
    }

    std::unique_ptr<PatchApplyJob> job;
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
    void stoppedJobChangesNothing_data();
    void stoppedJobChangesNothing();
};

void TestSessionPatches::applyIsOneUndoEntry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");   // 0: the patch gives the image as it is
    QTest::addColumn<bool>("atOnce");   // Load Rom and closing the window finish at once
    QTest::addColumn<QString>("said");
    QTest::newRow("bps, longer, by the event loop")
        << "p.bps" << CatalogueFixture::RomSize + 3000 << false << "Applied p.bps.";
    QTest::newRow("ips, shorter, finished at once")
        << "p.ips" << CatalogueFixture::RomSize - 0x1000 << true << "Applied p.ips.";
    QTest::newRow("bps changing nothing") << "p.bps" << 0 << false << "p.bps changes nothing in this image.";
}

void TestSessionPatches::applyIsOneUndoEntry()
{
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(bool, atOnce);
    QFETCH(QString, said);
    Rig rig;
    const QByteArray original = rig.image();
    QByteArray target = original;
    if (size != 0) {
        target.resize(size, '\x5C');
        target[RouteMap] = '\x21';   // the map's first block
    }
    const QByteArray patch = name.endsWith("bps") ? makeBpsPatch(original, target)
                                                  : *makeIpsPatch(original, target).image;
    QSignalSpy finished(rig.job.get(), &PatchApplyJob::finished);
    QSignalSpy status(rig.session.get(), &EditorSession::statusText);
    QVERIFY(rig.job->start(rig.patchFile(name, patch)).isDone());
    QCOMPARE(rig.job->start(rig.patchFile(name, patch)).refusal,
             QStringLiteral("A patch is being applied; wait for it to finish."));
    if (atOnce)
        rig.job->finish();
    QVERIFY(finished.count() == 1 || finished.wait(5000));
    QVERIFY(!rig.job->isRunning());
    QVERIFY(finished.at(0).at(0).value<SessionOutcome>().isDone());
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.at(0).at(0).toString(), said);
    QCOMPARE(rig.image(), target);
    QCOMPARE(rig.state->map.MapBytes[0], quint8(target[RouteMap]));   // the map was read again
    QCOMPARE(rig.session->undoStack().count(), size != 0 ? 1 : 0);
    QCOMPARE(rig.session->isModified(), size != 0);
    if (size == 0)
        return;
    QCOMPARE(rig.session->undoStack().text(0), QStringLiteral("Apply Patch"));

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
    QTest::addColumn<QByteArray>("record");   // the patch's one record: offset, length, byte
    const QByteArray outsideTheMap("0001000001EE");   // 0x100 becomes 0xEE
    QTest::newRow("Yes: kept, then patched") << int(Prompts::Answer::Yes) << true << true << outsideTheMap;
    QTest::newRow("No: dropped, then patched") << int(Prompts::Answer::No) << true << false << outsideTheMap;
    QTest::newRow("Cancel: nothing") << int(Prompts::Answer::Cancel) << false << false << outsideTheMap;
    // The first cell takes the block painted there: the kept painting is the result.
    QTest::newRow("Yes, the patch changes nothing")
        << int(Prompts::Answer::Yes) << true << true << QByteArray("003000000107");
}

void TestSessionPatches::questionComesFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, applied);
    QFETCH(bool, kept);
    QFETCH(QByteArray, record);
    Rig rig;
    const QByteArray original = rig.image();
    rig.paint();
    const QByteArray ips = QByteArray("PATCH") + QByteArray::fromHex(record) + "EOF";
    rig.prompts.answer(Prompts::Answer(answer));
    const SessionOutcome outcome = rig.apply(rig.patchFile("one.ips", ips));
    QCOMPARE(outcome.state, applied ? SessionOutcome::State::Done : SessionOutcome::State::Declined);
    QCOMPARE(rig.prompts.shown.size(), size_t(1));

    QByteArray expected = kept ? painted(original) : original;
    if (applied)
        expected[record.left(6).toInt(nullptr, 16)] = char(record.right(2).toInt(nullptr, 16));
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
    // The patch is applied away from the session: its result must not drop
    // what the user did while it ran.
    QFETCH(int, meanwhile);
    Rig rig;
    rig.paint();
    const QByteArray painting = painted(rig.image());
    // Changes the byte at 0x10 to 0x42.
    const QByteArray ips = QByteArray("PATCH") + QByteArray::fromHex("000010000142") + "EOF";
    QSignalSpy finished(rig.job.get(), &PatchApplyJob::finished);
    rig.prompts.answer(Prompts::Answer::Yes);
    QVERIFY(rig.job->start(rig.patchFile("p.ips", ips)).isDone());
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
    rig.job->finish();
    QCOMPARE(finished.count(), 1);
    const auto outcome = finished.at(0).at(0).value<SessionOutcome>();
    QCOMPARE(outcome.refusal,
             meanwhile == 0
                 ? QString()
                 : QStringLiteral("The image was changed meanwhile; the result of \"Apply Patch\" is not applied."));
    QByteArray result = painting;
    result[0x10] = '\x42';
    QVERIFY(rig.image() == (meanwhile == 0 ? result : before));
    if (meanwhile == 1)
        QCOMPARE(rig.state->map.MapBytes[40], quint8(7));
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
    QCOMPARE(rig.apply(rig.patchFile("p.bps", patch)).refusal, error);
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
    QVERIFY(ImagePatches(*rig.session).make(rig.patchFile("original.gbc", original), path).isDone());
    QCOMPARE(applyBpsPatch(original, rig.files.dir.read("out.bps")).image, std::optional(painted(original)));
    QCOMPARE(rig.image(), original);
    QCOMPARE(rig.files.dir.read("rom.gbc"), original);
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
    PatchApplyJob& job = *rig.job;
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
