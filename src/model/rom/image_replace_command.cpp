#include "model/rom/image_replace_command.h"

#include "model/rom/rom_image.h"

ImageReplaceCommand::ImageReplaceCommand(RomImage& rom, const QString& text, QByteArray before, QByteArray after,
                                         std::function<void()> replaced)
    : QUndoCommand(text), m_rom(rom), m_before(std::move(before)), m_after(std::move(after)),
      m_replaced(std::move(replaced))
{
}

void ImageReplaceCommand::put(const QByteArray& bytes)
{
    m_rom.setBytes(bytes);
    if (m_replaced)
        m_replaced();
}

void ImageReplaceCommand::redo() { put(m_after); }
void ImageReplaceCommand::undo() { put(m_before); }
