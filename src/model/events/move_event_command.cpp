#include "model/events/move_event_command.h"

#include "model/events/event_tables.h"

MoveEventCommand::MoveEventCommand(EventState& state, TEventData event, int x, int y, int drag,
                                   EventMoved moved)
    : EventCommand(MoveEventCommandId, QStringLiteral("Move"), state, event), m_drag(drag),
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
