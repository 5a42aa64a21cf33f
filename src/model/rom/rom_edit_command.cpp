#include "model/rom/rom_edit_command.h"

#include "model/rom/rom_image.h"

QList<RomChange> romDifferences(const QByteArray& before, const QByteArray& after)
{
    QList<RomChange> runs;
    const qint64 n = qMin(before.size(), after.size());
    const char* a = before.constData();
    const char* b = after.constData();
    qint64 i = 0;
    while (i < n) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        qint64 end = i + 1;
        while (end < n && a[end] != b[end])
            ++end;
        runs.append({i, before.mid(i, end - i), after.mid(i, end - i)});
        i = end;
    }
    return runs;
}

RomEditCommand* RomEditCommand::make(RomImage& rom, const QString& text, const Patch& patch, Changed changed,
                                     bool* refused)
{
    RomImage scratch;
    scratch.setBytes(rom.bytes());
    const bool done = patch(scratch) && scratch.size() == rom.size();
    if (refused)
        *refused = !done;
    if (!done)
        return nullptr;
    QList<RomChange> changes = romDifferences(rom.bytes(), scratch.bytes());
    if (changes.isEmpty())
        return nullptr;
    return new RomEditCommand(rom, text, std::move(changes), std::move(changed));
}

RomEditCommand::RomEditCommand(RomImage& rom, const QString& text, QList<RomChange> changes, Changed changed)
    : QUndoCommand(text), m_rom(rom), m_changes(std::move(changes)), m_changed(std::move(changed))
{
}

void RomEditCommand::apply(bool after)
{
    for (const RomChange& change : m_changes) {
        const QByteArray& bytes = after ? change.after : change.before;
        m_rom.writeAt(change.offset, bytes.constData(), bytes.size());
    }
    if (m_changed)
        m_changed(m_changes);
}

void RomEditCommand::redo() { apply(true); }
void RomEditCommand::undo() { apply(false); }
