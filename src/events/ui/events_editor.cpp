#include "events/ui/events_editor.h"

#include "events/ui/event_builder.h"
#include "events/event_icons.h"
#include "events/event_tables.h"
#include "events/event_renderer.h"
#include "events/ui/people_form.h"
#include "events/ui/singpost_form.h"
#include "events/ui/warp_form.h"
#include "events/ui/event_view.h"
#include "widgets/prompts.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QWidget>

EventsEditor::EventsEditor(EditorCore& core, EventState& state, Prompts& prompts, QWidget* eventsPage,
                           MapDrawing drawMap, MapSize mapSize, QAction* BuildEvents1, QObject* parent)
    : QObject(parent), m_core(core), m_state(state), m_prompts(prompts), m_page(eventsPage),
      m_mapSize(std::move(mapSize)), m_buildEvents(BuildEvents1), m_icons(std::make_unique<EventIcons>()),
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
    if (m_buildEvents)
        m_buildEvents->setEnabled(false);
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
    PeopleForm = new TPeopleForm(m_state, m_core.catalogue.EventsIni, owner);
    EventBuilder = new TEventBuilder(m_core, m_state, m_prompts, [this] { LoadEvents(); }, owner);
    updateDialogs();
}

void EventsEditor::LoadEvents()
{
    const QString section = m_core.map.isMap() ? m_core.map.name : QString();
    const QString problem = loadEventTables(m_core.catalogue.EventsIni, section, m_core.rom, m_state);
    if (!problem.isEmpty())
        m_prompts.error(problem);
    updatePage();
    updateDialogs();
    DrawEvents();
}

void EventsEditor::resetPick()
{
    m_state.PickedEvent = TEventData();
    m_state.DraggingEvent = false;
    updateDialogs();
}

void EventsEditor::SaveEvents()
{
    const QString problem = saveEventTables(m_state, m_core.rom);
    if (!problem.isEmpty())
        m_prompts.error(problem);
    LoadEvents();
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
    clearEventState(m_state);
    updatePage();
    updateDialogs();
    EventBox->setContentSize(0, 0);
}

void EventsEditor::updatePage()
{
    const bool present = eventsPresent(m_state);
    ScrollBox3->setVisible(present);
    SorryLabel->setVisible(!present);
    if (m_buildEvents)
        m_buildEvents->setEnabled(eventsBuildable(m_state));
}

void EventsEditor::updateDialogs()
{
    for (EventDialog* d : {static_cast<EventDialog*>(WarpForm.data()), static_cast<EventDialog*>(SingpostForm.data()),
                           static_cast<EventDialog*>(PeopleForm.data())})
        if (d)
            d->updateEditable();
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
    m_state.PickedEvent = GetEventData(m_state, square.x(), square.y());
    updateDialogs();
    if (m_state.PickedEvent.Kind == TEventData::None)
        return;
    showDialog(m_state.PickedEvent.Kind);
    m_state.DraggingEvent = true;
}

void EventsEditor::EventBoxMouseMove(QPoint square)
{
    emit statusText(eventStatusText(m_state, square.x(), square.y(), &m_state.HoverEvent));
    if (m_state.DraggingEvent)
        dragTo(square.x(), square.y());
}

void EventsEditor::EventBoxMouseUp()
{
    m_state.DraggingEvent = false;
}

void EventsEditor::dragTo(int x, int y)
{
    int oldX = 0, oldY = 0;
    if (!eventSquare(m_state, m_state.PickedEvent, &oldX, &oldY))
        return;
    moveEvent(m_state, m_state.PickedEvent, x, y);
    int newX = 0, newY = 0;
    eventSquare(m_state, m_state.PickedEvent, &newX, &newY);
    if (newX == oldX && newY == oldY)
        return;
    EventBox->updateSquare(oldX, oldY);
    EventBox->updateSquare(newX, newY);
}
