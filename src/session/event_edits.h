#pragma once

#include "model/events/event_records.h"

#include <QUndoCommand>
#include <functional>

class EditorSession;

// Editing the current map's events: a drag of one event, press to release,
// and a field changed in the event's form. Each change is one undo entry on
// the session's stack (the steps of a drag are one); a change that leaves the
// bytes as they are pushes nothing.
class EventEdits {
public:
    // The session's one way of pushing an undo entry.
    using Push = std::function<void(QUndoCommand*)>;

    EventEdits(EditorSession& session, Push push) : m_session(session), m_push(std::move(push)) {}

    void beginDrag() { ++m_drag; }
    // The event to square x, y (stored as their low 8 bits).
    void dragEvent(TEventData event, int x, int y);
    void endDrag() { ++m_drag; }
    void setEventField(TEventData event, int byte, int value);

private:
    EditorSession& m_session;
    Push m_push;
    int m_drag = 0;
};
