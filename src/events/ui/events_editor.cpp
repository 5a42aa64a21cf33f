#include "events/ui/events_editor.h"

#include "app/editor_session.h"
#include "events/ui/event_builder.h"
#include "events/event_icons.h"
#include "events/event_tables.h"
#include "events/event_view.h"
#include "events/ui/people_form.h"
#include "events/ui/singpost_form.h"
#include "events/ui/warp_form.h"
#include "widgets/drawing_surface.h"
#include "widgets/prompts.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QWidget>

EventsEditor::EventsEditor(EditorSession& session, QWidget* eventsPage, DrawingSurface* mapBox, QObject* parent)
    : QObject(parent), m_session(session), m_state(session.state().events), m_page(eventsPage), m_mapBox(mapBox),
      m_icons(std::make_unique<EventIcons>())
{
    auto* layout = new QGridLayout(eventsPage);
    layout->setContentsMargins(0, 0, 0, 0);
    SorryLabel = new QLabel(QStringLiteral("Sorry events for this map haven't found yet."), eventsPage);
    SorryLabel->setObjectName(QStringLiteral("SorryLabel"));
    SorryLabel->setAlignment(Qt::AlignCenter);
    ScrollBox3 = new QScrollArea(eventsPage);
    ScrollBox3->setObjectName(QStringLiteral("ScrollBox3"));
    EventBox = new DrawingSurface;
    EventBox->setObjectName(QStringLiteral("EventBox"));
    EventBox->setSurfaceSize(QSize(0, 0));
    ScrollBox3->setWidget(EventBox);
    // The scroll box lies over the notice and hides it while it is shown.
    layout->addWidget(SorryLabel, 0, 0);
    layout->addWidget(ScrollBox3, 0, 0);
    ScrollBox3->hide();

    connect(EventBox, &DrawingSurface::mousePressed, this, &EventsEditor::EventBoxMouseDown);
    connect(EventBox, &DrawingSurface::mouseMoved, this, &EventsEditor::EventBoxMouseMove);
    connect(EventBox, &DrawingSurface::mouseReleased, this, &EventsEditor::EventBoxMouseUp);

    connect(&m_session, &EditorSession::mapPicked, this, [this] {
        EventBox->setStatusTip(m_session.state().core.map.comment);
        showEvents();
    });
    connect(&m_session, &EditorSession::mapDropped, this, &EventsEditor::clearMap);
    connect(&m_session, &EditorSession::eventsChanged, this, &EventsEditor::showEvents);
    connect(&m_session, &EditorSession::eventMoved, this,
            [this](TEventData, int fromX, int fromY, int toX, int toY) { showMove(fromX, fromY, toX, toY); });
    // The map under the events changed: the picture is composed again.
    connect(&m_session, &EditorSession::mapPictureChanged, this, &EventsEditor::DrawEvents);
    connect(&m_session, &EditorSession::cellChanged, this, &EventsEditor::DrawEvents);
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
    WarpForm = new TWarpForm(m_state, owner);
    SingpostForm = new TSingpostForm(m_state, owner);
    PeopleForm = new TPeopleForm(m_state, m_session.state().core.catalogue.EventsIni, owner);
    EditorState& editor = m_session.state();
    EventBuilder = new TEventBuilder(editor.core, m_state, m_session.prompts(), [this] { m_session.eventsRebuilt(); },
                                     owner);
    for (EventDialog* d : {static_cast<EventDialog*>(WarpForm.data()), static_cast<EventDialog*>(SingpostForm.data()),
                           static_cast<EventDialog*>(PeopleForm.data())})
        d->setWriter([this](TEventData event, int byte, int value) {
            m_writing = true;
            m_session.setEventField(event, byte, value);
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

void EventsEditor::DrawEvents()
{
    static const QImage none;
    const QImage& background = m_mapBox ? m_mapBox->surface() : none;
    EventBox->setSurfaceSize(background.size());
    composeEvents(EventBox->surface(), background, m_state, *m_icons);
    EventBox->present();
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
    EventBox->setStatusTip(QString());
    updatePage();
    updateDialogs();
    EventBox->setSurfaceSize(QSize(0, 0));
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

void EventsEditor::EventBoxMouseDown(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::MiddleButton)
        return;
    const QPoint p = event->position().toPoint();
    m_state.PickedEvent = GetEventData(m_state, pixelToSquare(p.x()), pixelToSquare(p.y()));
    updateDialogs();
    if (m_state.PickedEvent.Kind == TEventData::None)
        return;
    showDialog(m_state.PickedEvent.Kind);
    m_session.beginDrag();
}

void EventsEditor::EventBoxMouseMove(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit statusText(eventStatusText(m_state, p.x(), p.y(), &m_state.HoverEvent));
    if (m_state.DraggingEvent)
        m_session.dragEvent(m_state.PickedEvent, pixelToSquare(p.x()), pixelToSquare(p.y()));
}

void EventsEditor::EventBoxMouseUp(QMouseEvent*)
{
    if (m_state.DraggingEvent)
        m_session.endDrag();
}

void EventsEditor::showMove(int fromX, int fromY, int toX, int toY)
{
    static const QImage none;
    const QImage& background = m_mapBox ? m_mapBox->surface() : none;
    if (background.size() != EventBox->surface().size()) {
        DrawEvents();
        return;
    }
    for (const QPoint square : {QPoint(fromX, fromY), QPoint(toX, toY)}) {
        const QRect area = recomposeSquare(EventBox->surface(), background, m_state, *m_icons, square.x(), square.y());
        if (!area.isEmpty())
            EventBox->present(area);
    }
    updateDialogs();
}
