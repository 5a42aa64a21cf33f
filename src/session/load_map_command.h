#pragma once

#include "model/encounters/encounter_tables.h"
#include "model/events/event_records.h"
#include "model/map/map_state.h"

#include <QUndoCommand>
#include <functional>

struct EditorState;

// Load Map: a map file read into the three working copies at once, one
// history entry. The working copies before and after are kept whole.
class LoadMapCommand : public QUndoCommand {
public:
    // Reads `content` as the current map's file into copies of the working
    // copies; the working copies themselves change at the first redo.
    LoadMapCommand(EditorState& state, const QByteArray& content, std::function<void()> changed);

    void redo() override;
    void undo() override;

private:
    struct Copies {
        std::array<quint8, MapBufferSize> blocks{};
        EventState events;
        EncounterTables encounters;
    };
    void apply(const Copies& copies);

    EditorState& m_state;
    Copies m_before;
    Copies m_after;
    std::function<void()> m_changed;
};
