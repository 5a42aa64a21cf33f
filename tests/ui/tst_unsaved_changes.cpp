// The main window with unsaved work: questions before anything is dropped,
// the modified mark, undo from the keyboard, and pictures that follow the data.
#include "session/editor_session.h"
#include "model/events/event_icons.h"
#include "model/events/event_renderer.h"
#include "ui/events/event_view.h"
#include "ui/events/events_editor.h"
#include "ui/map/map_page.h"
#include "ui_support/editor_fixture.h"
#include "model/map/map_renderer.h"
#include "ui/map/map_view.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>
#include <QtTest>

namespace {

struct Window {
    Window()
    {
        files.dir.write("Events.ini", "[Route 1]\r\nWarps=2\r\nWarp offset=0x6000\r\nSingposts=1\r\n"
                                      "Singpost offset=0x6010\r\nPeoples=1\r\nPeople offset=0x6020\r\n");
        form = &files.openWithRom();
        form->show();
        files.pickMap("Routes", "Route 1");
        files.prompts.shown.clear();
    }
    void paint(int column, int row, int block)
    {
        form->session->stamp().setSelectedBlock(block);
        QTest::mouseClick(form->mapPage->MapBox, Qt::LeftButton, {}, QPoint(64 * column + 10, 64 * row + 10));
    }
    QByteArray onDisk() const { return files.dir.read("rom.gbc"); }

    EditorFixture files;
    TMainForm* form = nullptr;
};

} // namespace

class TestUnsavedChanges : public QObject {
    Q_OBJECT
private slots:
    void closingAsks_data();
    void closingAsks();
    void closingUnchangedAsksNothing();
    void titleCarriesTheMark();
    void undoAndRedoFromTheKeyboard();
    void cancelledPickKeepsTheChooser();
    void dragAfterGridToggleMatchesAFullPicture();
    void backFromAnotherProgramNoticesTheRomFile();
};

void TestUnsavedChanges::closingAsks_data()
{
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("written");
    QTest::newRow("cancel") << Prompts::Answer::Cancel << false << false;
    QTest::newRow("discard") << Prompts::Answer::Discard << true << false;
    QTest::newRow("save") << Prompts::Answer::Save << true << true;
}

void TestUnsavedChanges::closingAsks()
{
    QFETCH(Prompts::Answer, answer);
    QFETCH(bool, closed);
    QFETCH(bool, written);
    Window w;
    const QByteArray original = w.onDisk();
    w.paint(1, 0, 9);
    w.files.prompts.answer(answer);
    w.form->Exit1->trigger();
    QCOMPARE(w.files.prompts.shown.size(), size_t(1));
    QCOMPARE(w.files.prompts.shown[0].text, QStringLiteral("Save the changes to rom.gbc?"));
    QCOMPARE(w.form->isVisible(), !closed);
    QCOMPARE(w.onDisk() != original, written);
    if (written)
        QCOMPARE(int(quint8(w.onDisk().at(0x3000 + 1))), 9);
}

void TestUnsavedChanges::closingUnchangedAsksNothing()
{
    Window w;
    w.paint(1, 0, 9);
    w.form->session->undoStack().undo();
    QVERIFY(w.form->close());
    QVERIFY(w.files.prompts.shown.empty());
}

void TestUnsavedChanges::titleCarriesTheMark()
{
    Window w;
    QCOMPARE(EditorFixture::shownTitle(*w.form), QStringLiteral("Kartola - Route 1"));
    w.paint(2, 2, 5);
    QCOMPARE(EditorFixture::shownTitle(*w.form), QStringLiteral("Kartola - Route 1*"));
    w.form->SaveRom1->trigger();
    QCOMPARE(EditorFixture::shownTitle(*w.form), QStringLiteral("Kartola - Route 1"));
    // The first save of the run keeps the file it replaced.
    QCOMPARE(w.form->statusText(), QStringLiteral("Saved rom.gbc. Kept the previous file as rom.gbc.bak."));
    QCOMPARE(int(quint8(w.onDisk().at(0x3000 + 2 * 20 + 2))), 5);
}

void TestUnsavedChanges::undoAndRedoFromTheKeyboard()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(w.form));
    const quint8 original = w.files.state->map.MapBytes[3];
    w.paint(3, 0, 11);
    QCOMPARE(w.form->Undo1->text(), QStringLiteral("Undo Paint"));
    const auto shown = [&] { return w.form->mapPage->MapBox->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QImage painted = shown();
    QTest::keyClick(w.form, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.files.state->map.MapBytes[3], original);
    QVERIFY(shown() != painted);
    QCOMPARE(w.form->Redo1->text(), QStringLiteral("Redo Paint"));
    QTest::keyClick(w.form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(int(w.files.state->map.MapBytes[3]), 11);
    QCOMPARE(shown(), painted);
    // Ctrl+Y redoes too, as on most desktops.
    QTest::keyClick(w.form, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.form, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(int(w.files.state->map.MapBytes[3]), 11);
}

void TestUnsavedChanges::cancelledPickKeepsTheChooser()
{
    Window w;
    w.paint(0, 0, 4);
    w.files.prompts.answer(Prompts::Answer::Cancel);
    w.files.pickMap("Towns", "Alpha Town");
    QCOMPARE(w.files.state->core.map.name, QStringLiteral("Route 1"));
    QCOMPARE(w.form->SubBox->currentText(), QStringLiteral("Route 1"));
    QCOMPARE(int(w.files.state->map.MapBytes[0]), 4);
    QCOMPARE(w.files.prompts.shown.size(), size_t(1));
}

void TestUnsavedChanges::dragAfterGridToggleMatchesAFullPicture()
{
    Window w;
    w.form->TabbedNotebook1->setCurrentIndex(1);
    w.form->Grid1->trigger();   // the map picture changes under the events
    EventView* view = w.form->events->EventBox;
    const QPoint warp(w.files.state->events.WarpTable[1].X * 32 + 16, w.files.state->events.WarpTable[1].Y * 32 + 16);
    QTest::mousePress(view, Qt::LeftButton, {}, warp);
    QTest::mouseMove(view, QPoint(5 * 32 + 16, 4 * 32 + 16));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(5 * 32 + 16, 4 * 32 + 16));
    QImage full = w.form->mapPage->renderer().picture();
    const EventIcons icons;
    EventRenderer(icons).render(full, QPoint(0, 0), full.rect(), 100, w.files.state->events);
    QCOMPARE(view->grab().toImage().convertToFormat(QImage::Format_RGB32), full);
    QCOMPARE(w.form->Undo1->text(), QStringLiteral("Undo Move Warp 1"));
}

void TestUnsavedChanges::backFromAnotherProgramNoticesTheRomFile()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(w.form));
    // Another program's window comes up and rewrites the ROM file.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QByteArray bytes = w.onDisk();
    bytes[0x6000] = char(~bytes[0x6000]);
    w.files.dir.write("rom.gbc", bytes);
    QFile file(w.files.dir.file("rom.gbc"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    file.close();

    // Back in the editor with nothing unsaved: it offers to load the file again.
    w.files.prompts.answer(Prompts::Answer::Yes);
    w.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.form));
    QTRY_COMPARE(w.files.prompts.texts(), QStringList{"rom.gbc has been changed on disk by another program. Load it again?"});
    QCOMPARE(w.files.state->core.rom.bytes(), bytes);
}

QTEST_MAIN(TestUnsavedChanges)
#include "tst_unsaved_changes.moc"
