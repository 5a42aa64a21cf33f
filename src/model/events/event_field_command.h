#pragma once

#include "model/events/event_edit.h"

#include "model/rom/command_ids.h"

// One byte of an event record, as a dialog field sets it. Repeated changes
// of the same field of the same event merge.
class EventFieldCommand : public EventCommand {
public:
    EventFieldCommand(EventState& state, TEventData event, int byte, int value, EventChanged changed);

    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    int m_byte;
    int m_before;
    int m_after;
    EventChanged m_changed;
};
