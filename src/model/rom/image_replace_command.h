#pragma once

#include <QByteArray>
#include <QUndoCommand>
#include <functional>

class RomImage;

// An edit that replaces the whole image, whose size may change (a patch
// applied). Undo and redo put the whole bytes before or after back in place
// and then call `replaced`.
class ImageReplaceCommand : public QUndoCommand {
public:
    ImageReplaceCommand(RomImage& rom, const QString& text, QByteArray before, QByteArray after,
                        std::function<void()> replaced);

    void redo() override;
    void undo() override;

private:
    void put(const QByteArray& bytes);

    RomImage& m_rom;
    QByteArray m_before;
    QByteArray m_after;
    std::function<void()> m_replaced;
};
