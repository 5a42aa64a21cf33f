#pragma once

#include "model/encounters/encounter_slot_command.h"

#include <QUndoCommand>
#include <functional>

class EditorSession;

// Editing the current map's wild slots: a number or a level typed in, and the
// randomizer's fill, whose slots set between begin and end are one undo entry.
// A slot that is no slot, or a value the slot already holds, pushes nothing.
class EncounterEdits {
public:
    // The session's one way of pushing an undo entry.
    using Push = std::function<void(QUndoCommand*)>;

    EncounterEdits(EditorSession& session, Push push) : m_session(session), m_push(std::move(push)) {}

    void setEncounterNumber(int time, int slot, qint32 number);
    void setEncounterLevel(int time, int slot, qint32 level);
    void beginRandomize();
    void setEncounterSlot(int time, int slot, const EncounterSlot& value);
    void endRandomize();

private:
    void pushSlot(int time, int slot, EncounterSlotCommand::Field field, const EncounterSlot& value);

    EditorSession& m_session;
    Push m_push;
};
