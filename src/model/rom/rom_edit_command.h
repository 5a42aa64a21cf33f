#pragma once

#include <QByteArray>
#include <QList>
#include <QUndoCommand>
#include <functional>

class RomImage;

// One run of bytes an edit changed in the ROM image.
struct RomChange {
    qint64 offset = 0;
    QByteArray before;
    QByteArray after;
};

// The runs in which two images of the same size differ.
QList<RomChange> romDifferences(const QByteArray& before, const QByteArray& after);

// An edit of the ROM image's bytes (a patch, a toggle, a block saved). The
// patch runs once, on a copy of the image; what it changed is kept as runs of
// bytes before and after, so undo and redo only copy those runs back.
class RomEditCommand : public QUndoCommand {
public:
    using Patch = std::function<bool(RomImage&)>;
    using Changed = std::function<void(const QList<RomChange>&)>;

    // Runs `patch` on a copy of `rom`; null when the patch refused (returned
    // false, or changed the image's size: `refused` is set then) or changed
    // nothing. The image itself is changed by the first redo.
    static RomEditCommand* make(RomImage& rom, const QString& text, const Patch& patch, Changed changed,
                                bool* refused = nullptr);

    void redo() override;
    void undo() override;
    const QList<RomChange>& changes() const { return m_changes; }

private:
    RomEditCommand(RomImage& rom, const QString& text, QList<RomChange> changes, Changed changed);
    void apply(bool after);

    RomImage& m_rom;
    QList<RomChange> m_changes;
    Changed m_changed;
};
