#include "model/events/event_icons.h"
#include "model/events/event_tables.h"
#include "ui/events/people_form.h"
#include "widgets/zoom_setting.h"
#include "ui/events/singpost_form.h"
#include "ui/events/warp_form.h"
#include "ui_support/events_fixture.h"

#include <QLabel>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

class TestEventView : public QObject {
    Q_OBJECT
private slots:
    void loadShowsTheViewOverTheMap();
    void mapWithoutEventsShowsTheNotice_data();
    void mapWithoutEventsShowsTheNotice();
    void refusedEventsAreReported();
    void iconsAreBlendedOverTheMap();
    void dragMovesTheEventAndRedrawsLikeAFullPicture();
    void dragAboveOrLeftOfThePicture();
    void pressWithoutMoveLeavesTheEvent();
    void pressOpensTheDialogOfTheTopMostEvent();
    void rightButtonDoesNothing();
    void pressOnAnEmptySquarePicksNothing();
    void statusReadOut();
    void eventsPageShowsTheMapAsItIs();
    void saveWritesTheDraggedSquareAndKeepsThePick();
    void clearMapEmptiesEverything();
    void dragAtDoubleSize();
};

// At 200 % a square is 64 pixels: the event lands on the square under the pointer.
void TestEventView::dragAtDoubleSize()
{
    EventsFixture f;
    ZoomSetting zoom;
    f.editor->followZoom(&zoom);
    zoom.setPercent(200);
    EventView* box = f.editor->EventBox;
    QCOMPARE(box->size(), QSize(512, 384));
    QSignalSpy spy(f.editor.get(), &EventsEditor::statusText);
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(2 * 64 + 60, 5));   // warp 2 at (2, 0)
    QCOMPARE(f.editor->pointer().PickedEvent, (TEventData{2, TEventData::Warp}));
    QTest::mouseMove(box, QPoint(5 * 64 + 63, 4 * 64 + 1));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(5 * 64 + 63, 4 * 64 + 1));
    QCOMPARE(int(f.state.WarpTable[2].X), 5);
    QCOMPARE(int(f.state.WarpTable[2].Y), 4);
    EventsFixture::hover(box, QPoint(5 * 64 + 10, 4 * 64 + 10));
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("Y: 4 X: 5 Warp2 Offset: 105"));
    // The picture at 200 % is the picture at 100 % with every pixel doubled.
    const QImage composed = f.composed();
    const QImage shown = f.shown();
    for (const QPoint p : {QPoint(5 * 64 + 3, 4 * 64 + 7), QPoint(2 * 64 + 9, 40), QPoint(300, 200)})
        QCOMPARE(shown.pixel(p), composed.pixel(p.x() / 2, p.y() / 2));
}

void TestEventView::loadShowsTheViewOverTheMap()
{
    EventsFixture f;
    QCOMPARE(f.editor->ScrollBox3->objectName(), QStringLiteral("ScrollBox3"));
    QVERIFY(f.page.findChild<EventView*>(QStringLiteral("EventBox")) == f.editor->EventBox);
    QVERIFY(!f.editor->ScrollBox3->isHidden());
    QVERIFY(f.editor->SorryLabel->isHidden());
    QVERIFY(f.BuildEvents1.isEnabled());
    QCOMPARE(f.state.WarpCount, 5);
    QCOMPARE(f.editor->EventBox->size(), QSize(256, 192));
    QVERIFY(f.prompts.shown.empty());
}

void TestEventView::mapWithoutEventsShowsTheNotice_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<bool>("view");
    QTest::newRow("no section") << QStringLiteral("Nowhere") << false;
    QTest::newRow("only warps") << QStringLiteral("Room") << true;
}

void TestEventView::mapWithoutEventsShowsTheNotice()
{
    QFETCH(QString, map);
    QFETCH(bool, view);
    EventsFixture f(EventsFixture::townIni(), EventsFixture::townRom(), map);
    QCOMPARE(!f.editor->ScrollBox3->isHidden(), view);
    QCOMPARE(!f.editor->SorryLabel->isHidden(), !view);
    QCOMPARE(f.editor->SorryLabel->text(), QStringLiteral("Sorry events for this map haven't found yet."));
    QVERIFY(!f.BuildEvents1.isEnabled());
    if (!view)
        QCOMPARE(f.shown(), f.mapPicture);
}

void TestEventView::refusedEventsAreReported()
{
    EventsFixture f(EventsFixture::townIni("[Big]\nWarps=300\nWarp offset=256\n"), EventsFixture::townRom(),
                    QStringLiteral("Big"));
    QCOMPARE(f.prompts.shown.size(), size_t(1));
    QVERIFY(f.prompts.lastText().contains(QStringLiteral("300")));
    QVERIFY(f.editor->ScrollBox3->isHidden());
    QVERIFY(!f.BuildEvents1.isEnabled());
    QCOMPARE(f.shown(), f.mapPicture);
}

void TestEventView::iconsAreBlendedOverTheMap()
{
    EventsFixture f;
    const EventIcons icons;
    const QImage view = f.shown();
    const QImage& map = f.mapPicture;
    auto blended = [&](int icon, int x, int y, int ix, int iy) {
        const QRgb s = icons.icon(icon).pixel(ix, iy), d = map.pixel(x, y);
        return qRgb(blendChannel(qRed(s), qRed(d), 150), blendChannel(qGreen(s), qGreen(d), 150),
                    blendChannel(qBlue(s), qBlue(d), 150));
    };
    // Warp 3 at square (3, 0), signpost 1 at (1, 2), person 2 at (4, 4): outside the map's 6 rows.
    for (const QPoint p : {QPoint(0, 0), QPoint(16, 16), QPoint(31, 31)}) {
        QCOMPARE(view.pixel(96 + p.x(), p.y()), blended(0, 96 + p.x(), p.y(), p.x(), p.y()));
        QCOMPARE(view.pixel(32 + p.x(), 64 + p.y()), blended(1, 32 + p.x(), 64 + p.y(), p.x(), p.y()));
        QCOMPARE(view.pixel(96 + p.x(), 96 + p.y()), blended(2, 96 + p.x(), 96 + p.y(), p.x(), p.y()));
    }
    // Around the events the map shows as it is.
    QCOMPARE(view.pixel(0, 0), map.pixel(0, 0));
    QCOMPARE(view.pixel(200, 150), map.pixel(200, 150));
    // The icons differ from each other and let the map show through.
    QVERIFY(icons.icon(0) != icons.icon(1) && icons.icon(1) != icons.icon(2));
    QVERIFY(view.pixel(112, 16) != icons.icon(0).pixel(16, 16));
}

void TestEventView::dragMovesTheEventAndRedrawsLikeAFullPicture()
{
    EventsFixture f;
    EventView* box = f.editor->EventBox;
    QTest::mousePress(box, Qt::LeftButton, {}, EventsFixture::square(2, 0));
    QVERIFY(f.editor->pointer().DraggingEvent);
    // Over the neighbouring warp, onto the signposts, and on to (5, 4).
    const QPoint path[] = {EventsFixture::square(3, 0), EventsFixture::square(1, 2), EventsFixture::square(2, 2),
                           QPoint(170, 100), EventsFixture::square(5, 4)};
    for (const QPoint p : path) {
        QTest::mouseMove(box, p);
        QCOMPARE(f.shown(), f.composed());
    }
    QTest::mouseRelease(box, Qt::LeftButton, {}, EventsFixture::square(5, 4));
    QVERIFY(!f.editor->pointer().DraggingEvent);
    QCOMPARE(int(f.state.WarpTable[2].X), 5);
    QCOMPARE(int(f.state.WarpTable[2].Y), 4);
    // Moves after the release change nothing.
    EventsFixture::hover(box, EventsFixture::square(0, 5));
    QCOMPARE(int(f.state.WarpTable[2].X), 5);
    // The squares the warp crossed show what lies there now.
    QCOMPARE(f.shown(), f.composed());
}

void TestEventView::dragAboveOrLeftOfThePicture()
{
    EventsFixture f;
    EventView* box = f.editor->EventBox;
    QTest::mousePress(box, Qt::LeftButton, {}, EventsFixture::square(1, 0));
    QTest::mouseMove(box, QPoint(-40, 10));
    QCOMPARE(int(f.state.WarpTable[1].X), 255);
    QCOMPARE(int(f.state.WarpTable[1].Y), 0);
    QTest::mouseMove(box, QPoint(10, -70));
    QCOMPARE(int(f.state.WarpTable[1].X), 0);
    QCOMPARE(int(f.state.WarpTable[1].Y), 254);
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, -70));
    QCOMPARE(f.shown(), f.composed());
    QCOMPARE(f.shown().pixel(48, 16), f.mapPicture.pixel(48, 16));   // the warp left (1, 0)
}

void TestEventView::pressWithoutMoveLeavesTheEvent()
{
    EventsFixture f;
    const QImage before = f.shown();
    QTest::mouseClick(f.editor->EventBox, Qt::LeftButton, {}, QPoint(3 * 32 + 1, 3 * 32 + 30));
    QCOMPARE(f.editor->pointer().PickedEvent, (TEventData{1, TEventData::People}));
    QCOMPARE(int(f.state.PeopleTable[1].X), 3);
    QCOMPARE(int(f.state.PeopleTable[1].Y), 3);
    QCOMPARE(f.shown(), before);
}

void TestEventView::pressOpensTheDialogOfTheTopMostEvent()
{
    EventsFixture f;
    // Warp 2 moved under signpost 2: the signpost lies on top.
    QTest::mousePress(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(2, 0));
    QVERIFY(f.editor->WarpForm->isVisible());
    QTest::mouseMove(f.editor->EventBox, EventsFixture::square(2, 2));
    QTest::mouseRelease(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(2, 2));

    QTest::mousePress(f.editor->EventBox, Qt::MiddleButton, {}, EventsFixture::square(2, 2));
    QCOMPARE(f.editor->pointer().PickedEvent, (TEventData{2, TEventData::Singpost}));
    QVERIFY(f.editor->SingpostForm->isVisible());
    QVERIFY(!f.editor->WarpForm->isVisible());
    QVERIFY(!f.editor->PeopleForm->isVisible());
    QCOMPARE(f.editor->SingpostForm->windowTitle(), QStringLiteral("Singpost2:"));
    QTest::mouseRelease(f.editor->EventBox, Qt::MiddleButton, {}, EventsFixture::square(2, 2));

    QTest::mousePress(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(4, 4));
    QVERIFY(f.editor->PeopleForm->isVisible());
    QVERIFY(!f.editor->SingpostForm->isVisible());
    QCOMPARE(f.editor->PeopleForm->windowTitle(), QStringLiteral("People2:"));
}

void TestEventView::rightButtonDoesNothing()
{
    EventsFixture f;
    QTest::mousePress(f.editor->EventBox, Qt::RightButton, {}, EventsFixture::square(1, 0));
    QCOMPARE(f.editor->pointer().PickedEvent.Kind, TEventData::None);
    QVERIFY(!f.editor->pointer().DraggingEvent);
    QVERIFY(!f.editor->WarpForm->isVisible());
    EventsFixture::hover(f.editor->EventBox, EventsFixture::square(6, 5));
    QCOMPARE(int(f.state.WarpTable[1].X), 1);
}

void TestEventView::pressOnAnEmptySquarePicksNothing()
{
    EventsFixture f;
    QTest::mouseClick(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(1, 0));
    QVERIFY(f.editor->WarpForm->isVisible());
    QVERIFY(f.editor->WarpForm->WarpToSpin->isEnabled());

    QTest::mousePress(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(6, 5));
    QCOMPARE(f.editor->pointer().PickedEvent.Kind, TEventData::None);
    QVERIFY(!f.editor->pointer().DraggingEvent);
    // The open dialog stays open but edits nothing.
    QVERIFY(f.editor->WarpForm->isVisible());
    QVERIFY(!f.editor->WarpForm->WarpToSpin->isEnabled());
    f.editor->WarpForm->WarpToSpin->setValue(99);
    QCOMPARE(int(f.state.WarpTable[1].WarpTo), 11);
    EventsFixture::hover(f.editor->EventBox, EventsFixture::square(0, 5));
    QCOMPARE(int(f.state.WarpTable[1].X), 1);
}

void TestEventView::statusReadOut()
{
    EventsFixture f;
    QSignalSpy spy(f.editor.get(), &EventsEditor::statusText);
    EventsFixture::hover(f.editor->EventBox, QPoint(40, 10));
    EventsFixture::hover(f.editor->EventBox, QPoint(100, 110));
    EventsFixture::hover(f.editor->EventBox, QPoint(200, 150));
    QCOMPARE(spy.size(), 3);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Y: 0 X: 1 Warp1 Offset: 100"));
    QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("Y: 3 X: 3 People 1 Offset: 160"));
    QCOMPARE(spy.at(2).at(0).toString(), QStringLiteral("Y: 4 X: 6 No event"));
    QCOMPARE(f.editor->pointer().HoverEvent.Kind, TEventData::None);

    // While dragging, the read-out names what lay under the pointer before the move.
    spy.clear();
    QTest::mousePress(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(1, 0));
    QTest::mouseMove(f.editor->EventBox, EventsFixture::square(6, 4));
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("Y: 4 X: 6 No event"));
    QTest::mouseMove(f.editor->EventBox, EventsFixture::square(6, 4) + QPoint(1, 0));
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("Y: 4 X: 6 Warp1 Offset: 100"));
}

void TestEventView::eventsPageShowsTheMapAsItIs()
{
    EventsFixture f;
    const QImage before = f.shown();
    f.paintMap(77);   // painting on the Map page
    QCOMPARE(f.shown(), f.composed());
    QVERIFY(f.shown() != before);
}

void TestEventView::saveWritesTheDraggedSquareAndKeepsThePick()
{
    EventsFixture f;
    const QByteArray before = f.core->rom.bytes();
    QTest::mousePress(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(3, 3));
    QTest::mouseMove(f.editor->EventBox, EventsFixture::square(0, 1));
    QTest::mouseRelease(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(0, 1));
    f.session.writeWorkingCopies();
    QByteArray expected = before;
    expected[EventsFixture::PeopleOffset + 1] = char(5);
    expected[EventsFixture::PeopleOffset + 2] = char(4);
    QCOMPARE(f.core->rom.bytes(), expected);
    QCOMPARE(f.editor->pointer().PickedEvent, (TEventData{1, TEventData::People}));
    QCOMPARE(int(f.state.PeopleTable[1].Y), 1);
    QVERIFY(f.editor->PeopleForm->PictureSpin->isEnabled());
}

void TestEventView::clearMapEmptiesEverything()
{
    EventsFixture f;
    QTest::mouseClick(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(1, 0));
    QVERIFY(f.session.loadRom(f.dir.file(QStringLiteral("town.gbc"))).isDone());
    QCOMPARE(f.state.WarpCount, 0);
    QCOMPARE(f.state.WarpOffset, 0);
    QCOMPARE(int(f.state.WarpTable[1].WarpTo), 0);
    QVERIFY(f.editor->ScrollBox3->isHidden());
    QVERIFY(!f.editor->SorryLabel->isHidden());
    QVERIFY(!f.BuildEvents1.isEnabled());
    QVERIFY(!f.editor->WarpForm->WarpToSpin->isEnabled());
    const QByteArray before = f.core->rom.bytes();
    f.session.writeWorkingCopies();
    QCOMPARE(f.core->rom.bytes(), before);
}

QTEST_MAIN(TestEventView)
#include "tst_events_view.moc"
