#include "ui/events/events_editor.h"

#include "session/editor_session.h"
#include "ui/events/event_builder.h"
#include "model/events/event_icons.h"
#include "model/events/event_tables.h"
#include "model/events/event_renderer.h"
#include "ui/events/event_view.h"
#include "ui/events/people_form.h"
#include "ui/events/singpost_form.h"
#include "ui/events/warp_form.h"
#include "base/prompts.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QWidget>

EventsEditor::EventsEditor(EditorSession& session, QWidget* eventsPage, MapDrawing drawMap, MapSize mapSize,
                           QObject* parent)
    : QObject(parent), m_session(session), m_state(session.state().events), m_page(eventsPage),
      m_mapSize(std::move(mapSize)), m_icons(std::make_unique<EventIcons>()),
      m_renderer(std::make_unique<EventRenderer>(*m_icons))
{
    auto* layout = new QGridLayout(eventsPage);
    layout->setContentsMargins(0, 0, 0, 0);
    SorryLabel = new QLabel(QStringLiteral("Sorry events for this map haven't found yet."), eventsPage);
    SorryLabel->setObjectName(QStringLiteral("SorryLabel"));
    SorryLabel->setAlignment(Qt::AlignCenter);
    ScrollBox3 = new QScrollArea(eventsPage);
    ScrollBox3->setObjectName(QStringLiteral("ScrollBox3"));
    EventBox = new EventView(*m_renderer, m_state);
    EventBox->setObjectName(QStringLiteral("EventBox"));
    EventBox->setBackground(std::move(drawMap));
    ScrollBox3->setWidget(EventBox);
    // The scroll box lies over the notice and hides it while it is shown.
    layout->addWidget(SorryLabel, 0, 0);
    layout->addWidget(ScrollBox3, 0, 0);
    ScrollBox3->hide();

    connect(EventBox, &EventView::unitPressed, this, &EventsEditor::EventBoxMouseDown);
    connect(EventBox, &EventView::unitMoved, this, [this](QPoint square) { EventBoxMouseMove(square); });
    connect(EventBox, &EventView::unitReleased, this, [this] { EventBoxMouseUp(); });

    connect(&m_session, &EditorSession::mapPicked, this, [this] {
        EventBox->setStatusTip(m_session.state().core.map.comment);
        // Another map: nothing is picked or dragged on it yet.
        m_pointer = EventPointer{};
        showEvents();
    });
    connect(&m_session, &EditorSession::mapDropped, this, &EventsEditor::clearMap);
    connect(&m_session, &EditorSession::eventsChanged, this, &EventsEditor::showEvents);
    connect(&m_session, &EditorSession::eventMoved, this,
            [this](TEventData, int fromX, int fromY, int toX, int toY) { showMove(fromX, fromY, toX, toY); });
    // The map under the events changed: the view shows it at its next paint.
    connect(&m_session, &EditorSession::mapPictureChanged, this, &EventsEditor::DrawEvents);
    connect(&m_session, &EditorSession::cellChanged, this, &EventsEditor::showCell);
}

EventsEditor::~EventsEditor()
{
    // The windows may be children of the main window; delete them here if
    // they still exist so that none outlives the editor that they call.
    delete EventBuilder.data();
    delete PeopleForm.data();
    delete SingpostForm.data();
    delete WarpForm.data();
}

void EventsEditor::createWindows()
{
    QWidget* owner = m_page ? m_page->window() : nullptr;
    WarpForm = new TWarpForm(m_state, m_pointer, owner);
    SingpostForm = new TSingpostForm(m_state, m_pointer, owner);
    PeopleForm = new TPeopleForm(m_state, m_pointer, m_session.state().core.catalogue.EventsIni, owner);
    EditorState& editor = m_session.state();
    EventBuilder = new TEventBuilder(editor.core, m_state, m_session.prompts(), [this] { m_session.eventsRebuilt(); },
                                     owner);
    for (EventDialog* d : {static_cast<EventDialog*>(WarpForm.data()), static_cast<EventDialog*>(SingpostForm.data()),
                           static_cast<EventDialog*>(PeopleForm.data())})
        d->setWriter([this](TEventData event, int byte, int value) {
            m_writing = true;
            m_session.events().setEventField(event, byte, value);
            m_writing = false;
        });
    updateDialogs();
}

void EventsEditor::showEvents()
{
    updatePage();
    updateDialogs();
    DrawEvents();
}

void EventsEditor::followZoom(ZoomSetting* zoom) { EventBox->followZoom(zoom); }

void EventsEditor::DrawEvents()
{
    // The view draws from the map and the tables whenever it is painted;
    // here it takes the map's size and is painted again as a whole.
    const QSize size = m_mapSize ? m_mapSize() : QSize();
    EventBox->setContentSize(size.width(), size.height());
    EventBox->update();
}

void EventsEditor::TabbedNotebook1Change(int newTab)
{
    if (newTab == 1)
        DrawEvents();
}

void EventsEditor::BuildEvents1Click()
{
    if (!EventBuilder)
        return;
    EventBuilder->show();
    EventBuilder->raise();
    EventBuilder->activateWindow();
}

void EventsEditor::clearMap()
{
    m_pointer = EventPointer{};
    EventBox->setStatusTip(QString());
    updatePage();
    updateDialogs();
    EventBox->setContentSize(0, 0);
}

void EventsEditor::updatePage()
{
    const bool present = eventsPresent(m_state);
    ScrollBox3->setVisible(present);
    SorryLabel->setVisible(!present);
}

void EventsEditor::updateDialogs()
{
    for (EventDialog* d : {static_cast<EventDialog*>(WarpForm.data()), static_cast<EventDialog*>(SingpostForm.data()),
                           static_cast<EventDialog*>(PeopleForm.data())})
        if (d) {
            d->updateEditable();
            // An open dialog shows the record as it is now (after an undo, say).
            if (d->isVisible() && !m_writing)
                d->FormActivate();
        }
}

void EventsEditor::showDialog(quint8 kind)
{
    EventDialog* dialogs[] = {WarpForm.data(), SingpostForm.data(), PeopleForm.data()};
    for (int k = 0; k < 3; ++k)
        if (dialogs[k] && k != kind)
            dialogs[k]->hide();
    EventDialog* shown = kind < 3 ? dialogs[kind] : nullptr;
    if (!shown)
        return;
    shown->show();
    shown->raise();
    shown->activateWindow();
    // Filled now too: the window system may activate it later or not at all.
    shown->FormActivate();
}

void EventsEditor::EventBoxMouseDown(QPoint square, Qt::MouseButton button)
{
    if (button != Qt::LeftButton && button != Qt::MiddleButton)
        return;
    m_pointer.PickedEvent = GetEventData(m_state, square.x(), square.y());
    updateDialogs();
    if (m_pointer.PickedEvent.Kind == TEventData::None)
        return;
    showDialog(m_pointer.PickedEvent.Kind);
    m_session.events().beginDrag();
    m_pointer.DraggingEvent = true;
}

void EventsEditor::EventBoxMouseMove(QPoint square)
{
    emit statusText(eventStatusText(m_state, square.x(), square.y(), &m_pointer.HoverEvent));
    if (m_pointer.DraggingEvent)
        m_session.events().dragEvent(m_pointer.PickedEvent, square.x(), square.y());
}

void EventsEditor::EventBoxMouseUp()
{
    if (!m_pointer.DraggingEvent)
        return;
    m_pointer.DraggingEvent = false;
    m_session.events().endDrag();
}

void EventsEditor::showMove(int fromX, int fromY, int toX, int toY)
{
    EventBox->updateSquare(fromX, fromY);
    EventBox->updateSquare(toX, toY);
    updateDialogs();
}

void EventsEditor::showCell(int cell)
{
    const int w = m_session.state().core.map.MapWidth;
    if (w <= 0 || cell < 0)
        return;
    // A block is 2 x 2 squares.
    const int x = 2 * (cell % w), y = 2 * (cell / w);
    EventBox->update(EventBox->unitRect(x, y).united(EventBox->unitRect(x + 1, y + 1)));
}
