#pragma once

// The ids of the undo commands that merge, one per class: QUndoStack asks a
// command to merge with the next one whenever their ids are equal, so two
// classes sharing an id would be cast into each other.
enum CommandId : int {
    MapCellsCommandId = 0x4b01,
    MoveEventCommandId = 0x4b02,
    EventFieldCommandId = 0x4b03,
    EncounterSlotCommandId = 0x4b04,
};
