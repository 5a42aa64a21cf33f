#include "model/events/event_field_command.h"

#include "model/events/event_tables.h"

EventFieldCommand::EventFieldCommand(EventState& state, TEventData event, int byte, int value,
                                     EventChanged changed)
    : EventCommand(EventFieldCommandId, QStringLiteral("Change"), state, event), m_byte(byte),
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
