#pragma once

#include "model/events/event_edit.h"

#include "model/rom/command_ids.h"

#include <QUndoCommand>

// One byte of an event record, as a dialog field sets it. Repeated changes
// of the same field of the same event merge.
class EventFieldCommand : public QUndoCommand {
public:
    EventFieldCommand(EventState& state, TEventData event, int byte, int value, EventChanged changed);

    static constexpr int Id = EventFieldCommandId;
    int id() const override { return Id; }
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    EventState& m_state;
    TEventData m_event;
    int m_byte;
    int m_before;
    int m_after;
    EventChanged m_changed;
};
