#include "session/restore_image_command.h"

#include "model/rom/rom_image.h"

RestoreImageCommand::RestoreImageCommand(RomImage& rom, const QByteArray& restored, std::function<void()> changed)
    : QUndoCommand(QStringLiteral("Restore Unsaved Changes")), m_rom(rom), m_before(rom.bytes()), m_after(restored),
      m_changed(std::move(changed))
{
}

void RestoreImageCommand::apply(const QByteArray& bytes)
{
    m_rom.setBytes(bytes);
    if (m_changed)
        m_changed();
}

void RestoreImageCommand::redo() { apply(m_after); }
void RestoreImageCommand::undo() { apply(m_before); }
