#pragma once

#include "model/events/event_records.h"

#include <QString>
#include <QUndoCommand>
#include <functional>

// What the undoable edits of a map's events share. A command changes the
// working copy only through the operations of event_tables.h and then
// reports the event it changed.

using EventChanged = std::function<void(TEventData)>;
// A moved event, with the squares it left and entered.
using EventMoved = std::function<void(TEventData, int fromX, int fromY, int toX, int toY)>;

// "Warp 2", "Singpost 1", "Person 3": how the history names an event.
QString eventName(TEventData event);

// An undoable edit of one event of the working copy, named "VERB EVENT" in
// the history; `id` tells the kinds apart for merging.
class EventCommand : public QUndoCommand {
public:
    int id() const override { return m_id; }

protected:
    EventCommand(int id, const QString& verb, EventState& state, TEventData event)
        : QUndoCommand(verb + QLatin1Char(' ') + eventName(event)), m_id(id), m_state(state), m_event(event)
    {
    }

    const int m_id;
    EventState& m_state;
    const TEventData m_event;
};
