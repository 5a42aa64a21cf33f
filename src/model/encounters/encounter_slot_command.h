#pragma once

#include "model/encounters/encounter_tables.h"

#include "model/rom/command_ids.h"

#include <QUndoCommand>
#include <functional>

// A change of one wild slot: its number, its level, or both (the randomizer).
// Consecutive changes of the same field of the same slot merge.
class EncounterSlotCommand : public QUndoCommand {
public:
    enum Field { Number, Level, Both };
    using Changed = std::function<void(int time, int slot)>;

    EncounterSlotCommand(EncounterTables& tables, int time, int slot, Field field, const EncounterSlot& value,
                         Changed changed);

    static constexpr int Id = EncounterSlotCommandId;
    int id() const override { return Id; }
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    void set(const EncounterSlot& slot);

    EncounterTables& m_tables;
    int m_time;
    int m_slot;
    Field m_field;
    EncounterSlot m_before;
    EncounterSlot m_after;
    Changed m_changed;
};
