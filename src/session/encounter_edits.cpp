#include "session/encounter_edits.h"

#include "session/editor_session.h"

void EncounterEdits::pushSlot(int time, int slot, EncounterSlotCommand::Field field, const EncounterSlot& value)
{
    EditorSession& session = m_session;
    m_push(new EncounterSlotCommand(session.state().encounters, time, slot, field, value,
                                    [&session](int t, int s) { emit session.encounterChanged(t, s); }));
}

void EncounterEdits::setEncounterNumber(int time, int slot, qint32 number)
{
    const EncounterTables& tables = m_session.state().encounters;
    if (!EncounterTables::isSlot(time, slot) || tables.slotAt(time, slot).number == number)
        return;
    pushSlot(time, slot, EncounterSlotCommand::Number, {0, number});
}

void EncounterEdits::setEncounterLevel(int time, int slot, qint32 level)
{
    const EncounterTables& tables = m_session.state().encounters;
    if (!EncounterTables::isSlot(time, slot) || tables.slotAt(time, slot).level == level)
        return;
    pushSlot(time, slot, EncounterSlotCommand::Level, {level, 0});
}

void EncounterEdits::beginRandomize()
{
    m_session.undoStack().beginMacro(QStringLiteral("Randomize"));
}

void EncounterEdits::setEncounterSlot(int time, int slot, const EncounterSlot& value)
{
    if (EncounterTables::isSlot(time, slot))
        pushSlot(time, slot, EncounterSlotCommand::Both, value);
}

void EncounterEdits::endRandomize()
{
    // The fill's entry changes the index: the modified mark follows it.
    m_session.undoStack().endMacro();
}
