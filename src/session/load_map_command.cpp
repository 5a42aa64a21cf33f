#include "session/load_map_command.h"

#include "session/editor_state.h"
#include "session/map_file.h"

LoadMapCommand::LoadMapCommand(EditorState& state, const QByteArray& content, std::function<void()> changed)
    : QUndoCommand(QStringLiteral("Load Map")), m_state(state), m_changed(std::move(changed))
{
    m_before = {state.map.MapBytes, state.events, state.encounters};
    MapState blocks = state.map;
    m_after.events = state.events;
    m_after.encounters = state.encounters;
    readMapFile(content, state.core.map, blocks, m_after.events, m_after.encounters);
    m_after.blocks = blocks.MapBytes;
}

void LoadMapCommand::apply(const Copies& copies)
{
    m_state.map.MapBytes = copies.blocks;
    // Only the tables change: the pick and the pointer's event stay as they are.
    EventState& events = m_state.events;
    events.WarpTable = copies.events.WarpTable;
    events.SingpostTable = copies.events.SingpostTable;
    events.PeopleTable = copies.events.PeopleTable;
    m_state.encounters = copies.encounters;
    if (m_changed)
        m_changed();
}

void LoadMapCommand::redo() { apply(m_after); }
void LoadMapCommand::undo() { apply(m_before); }
