#include "session/event_edits.h"

#include "session/editor_session.h"
#include "model/events/event_field_command.h"
#include "model/events/event_tables.h"
#include "model/events/move_event_command.h"

void EventEdits::dragEvent(TEventData event, int x, int y)
{
    EventState& events = m_session.state().events;
    int oldX = 0, oldY = 0;
    if (!eventSquare(events, event, &oldX, &oldY))
        return;
    // Squares are stored as their low 8 bits.
    if ((x & 0xFF) == oldX && (y & 0xFF) == oldY)
        return;
    EditorSession& session = m_session;
    m_push(new MoveEventCommand(events, event, x, y, m_drag,
                                [&session](TEventData moved, int fromX, int fromY, int toX, int toY) {
                                    emit session.eventMoved(moved, fromX, fromY, toX, toY);
                                }));
}

void EventEdits::setEventField(TEventData event, int byte, int value)
{
    EventState& events = m_session.state().events;
    const int before = eventByte(events, event, byte);
    if (before < 0 || before == (value & 0xFF))
        return;
    EditorSession& session = m_session;
    m_push(new EventFieldCommand(events, event, byte, value, [&session](TEventData) { emit session.eventsChanged(); }));
}
