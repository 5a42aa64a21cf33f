#pragma once

#include "model/events/event_edit.h"

#include "model/rom/command_ids.h"

// An event drag, press to release: the steps of one drag merge into one
// entry that keeps the square the event left.
class MoveEventCommand : public EventCommand {
public:
    MoveEventCommand(EventState& state, TEventData event, int x, int y, int drag, EventMoved moved);

    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    int m_drag;
    int m_fromX = 0, m_fromY = 0;   // the square before the drag, as stored
    int m_toX = 0, m_toY = 0;
    void moveTo(int x, int y);
    EventMoved m_moved;
};
