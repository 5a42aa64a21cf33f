#include "events/event_commands.h"

#include "events/event_tables.h"

QString eventName(TEventData event)
{
    static const char* const words[] = {"Warp", "Singpost", "Person"};
    if (event.Kind > TEventData::People)
        return QString();
    return QStringLiteral("%1 %2").arg(QLatin1String(words[event.Kind])).arg(event.Index);
}

MoveEventCommand::MoveEventCommand(EventState& state, TEventData event, int x, int y, int drag,
                                   EventMoved moved)
    : QUndoCommand(QStringLiteral("Move ") + eventName(event)), m_state(state), m_event(event), m_drag(drag),
      m_toX(x), m_toY(y), m_moved(std::move(moved))
{
    eventSquare(m_state, m_event, &m_fromX, &m_fromY);
}

bool MoveEventCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const MoveEventCommand*>(other);
    if (next->m_drag != m_drag || !(next->m_event == m_event))
        return false;
    m_toX = next->m_toX;
    m_toY = next->m_toY;
    return true;
}

void MoveEventCommand::moveTo(int x, int y)
{
    int oldX = 0, oldY = 0;
    if (!eventSquare(m_state, m_event, &oldX, &oldY) || !moveEvent(m_state, m_event, x, y))
        return;
    int newX = 0, newY = 0;
    eventSquare(m_state, m_event, &newX, &newY);
    if (m_moved)
        m_moved(m_event, oldX, oldY, newX, newY);
}

void MoveEventCommand::redo() { moveTo(m_toX, m_toY); }
void MoveEventCommand::undo() { moveTo(m_fromX, m_fromY); }

EventFieldCommand::EventFieldCommand(EventState& state, TEventData event, int byte, int value,
                                     EventChanged changed)
    : QUndoCommand(QStringLiteral("Change ") + eventName(event)), m_state(state), m_event(event), m_byte(byte),
      m_before(eventByte(state, event, byte)), m_after(value), m_changed(std::move(changed))
{
}

bool EventFieldCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const EventFieldCommand*>(other);
    if (!(next->m_event == m_event) || next->m_byte != m_byte)
        return false;
    m_after = next->m_after;
    return true;
}

void EventFieldCommand::redo()
{
    if (setEventByte(m_state, m_event, m_byte, m_after) && m_changed)
        m_changed(m_event);
}

void EventFieldCommand::undo()
{
    if (m_before >= 0 && setEventByte(m_state, m_event, m_byte, m_before) && m_changed)
        m_changed(m_event);
}
