#include "model/encounters/encounter_slot_command.h"

EncounterSlotCommand::EncounterSlotCommand(EncounterTables& tables, int time, int slot, Field field,
                                           const EncounterSlot& value, Changed changed)
    : QUndoCommand(QStringLiteral("Change Wild Critter")), m_tables(tables), m_time(time), m_slot(slot),
      m_field(field), m_before(tables.slotAt(time, slot)), m_after(m_before), m_changed(std::move(changed))
{
    if (field != Level)
        m_after.number = value.number;
    if (field != Number)
        m_after.level = value.level;
}

bool EncounterSlotCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const EncounterSlotCommand*>(other);
    if (m_field == Both || next->m_field != m_field || next->m_time != m_time || next->m_slot != m_slot)
        return false;
    m_after = next->m_after;
    return true;
}

void EncounterSlotCommand::set(const EncounterSlot& slot)
{
    if (m_tables.setSlot(m_time, m_slot, slot) && m_changed)
        m_changed(m_time, m_slot);
}

void EncounterSlotCommand::redo() { set(m_after); }
void EncounterSlotCommand::undo() { set(m_before); }
