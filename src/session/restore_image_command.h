#pragma once

#include <QByteArray>
#include <QUndoCommand>
#include <functional>

class RomImage;

// A recovery copy restored: the whole image replaced at once, one history
// entry. `changed` runs after each swap, to read the working copies again.
class RestoreImageCommand : public QUndoCommand {
public:
    RestoreImageCommand(RomImage& rom, const QByteArray& restored, std::function<void()> changed);

    void redo() override;
    void undo() override;

private:
    void apply(const QByteArray& bytes);

    RomImage& m_rom;
    QByteArray m_before;
    QByteArray m_after;
    std::function<void()> m_changed;
};
