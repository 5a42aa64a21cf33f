// Apply Patch and Save Map Picture from the window: the work runs away from
// the window's thread, with a busy cursor and a status line, and its result
// is what the work done at once gave. Work that lasts shows a progress
// dialog whose Cancel or Escape stops it: nothing applied, nothing written.
#include "model/map/map_renderer.h"
#include "model/rom/bps_patch.h"
#include "session/editor_session.h"
#include "session/map_picture_job.h"
#include "session/patch_apply_job.h"
#include "widgets/work_progress_dialog.h"
#include "ui/main/map_file_commands.h"
#include "ui/main/patch_commands.h"
#include "ui_support/editor_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QPointer>
#include <QPushButton>
#include <QSemaphore>
#include <QTimer>
#include <QtTest>

class TestBackgroundWork : public QObject {
    Q_OBJECT
private slots:
    void savePicture_data();
    void savePicture();
    void applyPatch_data();
    void applyPatch();
    void cancelled_data();
    void cancelled();
    void endedDialogNeverShows_data();
    void endedDialogNeverShows();
};

namespace {
bool busy()
{
    return QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
}
} // namespace

void TestBackgroundWork::savePicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("grid");
    QTest::addColumn<bool>("loadRomMeanwhile");   // Load Rom waits for the picture
    QTest::newRow("bmp") << "map.DIB" << false << false;
    QTest::newRow("png with the grid") << "map.png" << true << false;
    QTest::newRow("Load Rom meanwhile") << "map.png" << false << true;
}

void TestBackgroundWork::savePicture()
{
    QFETCH(QString, name);
    QFETCH(bool, grid);
    QFETCH(bool, loadRomMeanwhile);
    EditorFixture editor;
    TMainForm& form = editor.openWithRom();
    editor.pickMap(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    if (grid)
        form.Grid1->trigger();
    EditorState& state = *editor.state;
    // The file as it was written on the window's thread.
    MapRenderer renderer(state.core.map, state.map, state.pictures);
    renderer.setGrid(grid);
    QString error;
    QVERIFY(renderer.writePicture(editor.dir.file("at once" + name.right(4)), &error));
    const QByteArray expected = editor.dir.read("at once" + name.right(4));

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(0);
    editor.prompts.chooseFile(editor.dir.file(name));
    form.SaveMapPicture1->trigger();
    QVERIFY(form.mapFiles->isRunning());
    QVERIFY(busy());
    QCOMPARE(form.statusText(), "Writing " + name + "...");
    // An edit meanwhile does not reach the file: it shows the map as it was.
    form.session->stamp().setSelectedBlock(9);
    form.session->beginStroke();
    form.session->paintCell(0);
    form.session->endStroke();
    if (loadRomMeanwhile) {
        editor.prompts.answer(Prompts::Answer::Discard);
        QVERIFY(form.loadRom(editor.dir.file("rom.gbc")));
        QVERIFY(!form.mapFiles->isRunning());
    }
    QTRY_VERIFY(!form.mapFiles->isRunning());
    QVERIFY(ticks > 0 || loadRomMeanwhile);
    QVERIFY(!busy());
    QCOMPARE(form.statusText(), loadRomMeanwhile ? QStringLiteral("Select map.") : QString());
    QCOMPARE(editor.dir.read(name), expected);
    // No message; Load Rom asked about the painting.
    QCOMPARE(editor.prompts.shown.size(), size_t(loadRomMeanwhile ? 1 : 0));
}

void TestBackgroundWork::applyPatch_data()
{
    QTest::addColumn<bool>("closeMeanwhile");   // closing the window waits for the patch
    QTest::newRow("the window stays") << false;
    QTest::newRow("closed meanwhile") << true;
}

void TestBackgroundWork::applyPatch()
{
    QFETCH(bool, closeMeanwhile);
    EditorFixture editor;
    TMainForm& form = editor.openWithRom();
    editor.pickMap(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    const QByteArray original = editor.state->core.rom.bytes();
    QByteArray target = original;
    target[0x3000] = '\x21';   // Route 1's first block
    editor.dir.write("p.bps", makeBpsPatch(original, target));

    editor.prompts.chooseFile(editor.dir.file("p.bps"));
    form.patches->ApplyPatch1->trigger();
    QVERIFY(form.patches->isRunning());
    QVERIFY(!form.patches->ApplyPatch1->isEnabled());   // no second patch meanwhile
    QVERIFY(busy());
    QCOMPARE(form.statusText(), QStringLiteral("Applying p.bps..."));
    if (closeMeanwhile) {
        // The patch is applied first; then the unsaved image is asked about.
        editor.prompts.answer(Prompts::Answer::Cancel);
        QVERIFY(!form.close());
        QVERIFY(!form.patches->isRunning());
    }
    QTRY_VERIFY(!form.patches->isRunning());
    QVERIFY(form.patches->ApplyPatch1->isEnabled());
    QVERIFY(!busy());
    QCOMPARE(editor.state->core.rom.bytes(), target);
    QCOMPARE(editor.state->map.MapBytes[0], quint8(0x21));
    QCOMPARE(form.session->undoStack().count(), 1);
    QCOMPARE(form.session->undoStack().text(0), QStringLiteral("Apply Patch"));
    QCOMPARE(form.statusText(), QStringLiteral("Applied p.bps."));
    QCOMPARE(editor.prompts.shown.size(), size_t(closeMeanwhile ? 1 : 0));
}

void TestBackgroundWork::cancelled_data()
{
    QTest::addColumn<bool>("picture");   // Save Map Picture, else Apply Patch
    QTest::addColumn<bool>("escape");    // Escape, else a click on Cancel
    QTest::newRow("Apply Patch, Cancel") << false << false;
    QTest::newRow("Apply Patch, Escape") << false << true;
    QTest::newRow("Save Map Picture, Cancel") << true << false;
    QTest::newRow("Save Map Picture, Escape") << true << true;
}

void TestBackgroundWork::cancelled()
{
    QFETCH(bool, picture);
    QFETCH(bool, escape);
    EditorFixture editor;
    TMainForm& form = editor.openWithRom();
    editor.pickMap(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    const QByteArray original = editor.state->core.rom.bytes();
    QByteArray target = original;
    target[0x3000] = '\x21';
    editor.dir.write("p.bps", makeBpsPatch(original, target));
    editor.dir.write("map.png", "an older picture");

    // The worker waits at its first report until the test lets it go on, so
    // that it lasts long enough for the dialog.
    QSemaphore goOn;
    WorkProgress& progress = picture ? form.mapFiles->pictureJob().progress() : form.patches->job->progress();
    progress.observer = [&](qint64, qint64) { goOn.tryAcquire(1, 10000); };
    WorkProgressDialog& dialog = picture ? form.mapFiles->pictureProgress() : *form.patches->progress;
    if (picture) {
        editor.prompts.chooseFile(editor.dir.file("map.png"));
        form.SaveMapPicture1->trigger();
    } else {
        editor.prompts.chooseFile(editor.dir.file("p.bps"));
        form.patches->ApplyPatch1->trigger();
    }
    QVERIFY(dialog.dialog() && !dialog.dialog()->isVisible());   // not at once
    QTRY_VERIFY(dialog.dialog()->isVisible());
    QCOMPARE(dialog.dialog()->windowModality(), Qt::WindowModal);
    if (escape)
        QTest::keyClick(dialog.dialog(), Qt::Key_Escape);
    else
        QTest::mouseClick(dialog.dialog()->findChild<QPushButton*>(), Qt::LeftButton);
    goOn.release(1000);
    const auto running = [&] { return picture ? form.mapFiles->isRunning() : form.patches->isRunning(); };
    QTRY_VERIFY(!running());
    QVERIFY(!dialog.dialog());
    QVERIFY(!busy());
    QVERIFY(form.patches->ApplyPatch1->isEnabled());
    // No failure message; the status line says what did not happen.
    QCOMPARE(editor.prompts.shown.size(), size_t(0));
    QCOMPARE(form.statusText(), picture ? QStringLiteral("Save Map Picture cancelled: map.png was not written.")
                                        : QStringLiteral("Apply Patch cancelled: p.bps was not applied."));
    QCOMPARE(editor.state->core.rom.bytes(), original);
    QCOMPARE(form.session->undoStack().count(), 0);
    QCOMPARE(editor.dir.read("map.png"), QByteArray("an older picture"));
}

void TestBackgroundWork::endedDialogNeverShows_data()
{
    // Work that ends in an error: the error box is up, with its own event
    // loop, for longer than the progress dialog's delay.
    QTest::addColumn<bool>("picture");   // Save Map Picture, else Apply Patch
    QTest::addColumn<bool>("shownFirst");   // the dialog was up before the work ended
    QTest::newRow("empty patch, ended before showing") << false << false;
    QTest::newRow("empty patch, ended while shown") << false << true;
    QTest::newRow("picture into no folder, ended before showing") << true << false;
}

void TestBackgroundWork::endedDialogNeverShows()
{
    QFETCH(bool, picture);
    QFETCH(bool, shownFirst);
    EditorFixture editor;
    TMainForm& form = editor.openWithRom();
    editor.pickMap(QStringLiteral("Routes"), QStringLiteral("Route 1"));
    editor.dir.write("empty.ips", "");
    WorkProgressDialog& dialog = picture ? form.mapFiles->pictureProgress() : *form.patches->progress;
    QSemaphore goOn;
    bool waited = false;
    if (shownFirst)   // a record cut short: refused after the first report
        editor.dir.write("empty.ips", QByteArray("PATCH\x00\x01", 7));
    // Any progress dialog seen while the error box is up.
    int seen = 0;
    editor.prompts.onMessage = [&] {
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::topLevelWidgets())
                seen += qobject_cast<QProgressDialog*>(window) && window->isVisible();
        });
        look.start(5);
        QEventLoop box;
        QTimer::singleShot(WorkProgressDialog::ShowAfterMs * 2, &box, &QEventLoop::quit);
        box.exec();
        waited = true;
    };
    QPointer<QProgressDialog> shown;
    if (picture) {
        editor.prompts.chooseFile(editor.dir.file("no folder/map.png"));
        form.SaveMapPicture1->trigger();
    } else {
        editor.prompts.chooseFile(editor.dir.file("empty.ips"));
        if (shownFirst)   // the worker waits for the dialog to show
            form.patches->job->progress().observer = [&](qint64, qint64) { goOn.tryAcquire(1, 10000); };
        form.patches->ApplyPatch1->trigger();
    }
    QVERIFY(dialog.dialog());
    if (shownFirst) {
        QTRY_VERIFY(dialog.dialog() && dialog.dialog()->isVisible());
        shown = dialog.dialog();
    }
    goOn.release(1000);
    QTRY_VERIFY_WITH_TIMEOUT(waited, 5000);
    QCOMPARE(editor.prompts.shown.size(), size_t(1));
    QCOMPARE(seen, 0);
    QVERIFY(!dialog.dialog());
    QVERIFY(!shown || !shown->isVisible());
}

QTEST_MAIN(TestBackgroundWork)
#include "tst_background_work.moc"
