#pragma once

#include "events/event_records.h"

#include <QUndoCommand>
#include <functional>

// The edits of a map's events, each undoable. A command changes the working
// copy only through the operations of event_tables.h and then reports the
// event it changed.

using EventChanged = std::function<void(TEventData)>;
// A moved event, with the squares it left and entered.
using EventMoved = std::function<void(TEventData, int fromX, int fromY, int toX, int toY)>;

// "Warp 2", "Singpost 1", "Person 3": how the history names an event.
QString eventName(TEventData event);

// An event drag, press to release: the steps of one drag merge into one
// entry that keeps the square the event left.
class MoveEventCommand : public QUndoCommand {
public:
    MoveEventCommand(EventState& state, TEventData event, int x, int y, int drag, EventMoved moved);

    static constexpr int Id = 0x4b02;
    int id() const override { return Id; }
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    EventState& m_state;
    TEventData m_event;
    int m_drag;
    int m_fromX = 0, m_fromY = 0;   // the square before the drag, as stored
    int m_toX = 0, m_toY = 0;
    void moveTo(int x, int y);
    EventMoved m_moved;
};

// One byte of an event record, as a dialog field sets it. Repeated changes
// of the same field of the same event merge.
class EventFieldCommand : public QUndoCommand {
public:
    EventFieldCommand(EventState& state, TEventData event, int byte, int value, EventChanged changed);

    static constexpr int Id = 0x4b03;
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
