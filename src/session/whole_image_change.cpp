#include "session/whole_image_change.h"

#include "session/editor_session.h"
#include "model/rom/cartridge_header.h"
#include "model/rom/image_replace_command.h"

void WholeImageChange::replace(const QString& text, const QByteArray& image)
{
    replace(text, m_session.state().core.rom.bytes(), image);
}

void WholeImageChange::replace(const QString& text, const QByteArray& before, const QByteArray& image)
{
    // One more entry on top of the history: undone, it gives back the image
    // the entries below it were made on, and the map read from it.
    m_session.undoStack().push(
        new ImageReplaceCommand(m_session.state().core.rom, text, before, image, m_hooks.replaced));
}

WholeImageChange::Start WholeImageChange::begin()
{
    Start start;
    const RomImage& rom = m_session.state().core.rom;
    if (!m_session.state().core.romLoaded()) {
        start.outcome = SessionOutcome::refused(QStringLiteral("Load a ROM image first."));
        return start;
    }
    const std::optional<bool> keep = m_hooks.askKeepWorkingCopies();
    if (!keep) {
        start.outcome = SessionOutcome::declined();
        return start;
    }
    start.keep = *keep;
    if (*keep) {
        RomImage copy = rom;
        m_session.workingCopies().writeInto(copy);
        start.base = copy.bytes();
    } else {
        start.base = rom.bytes();
    }
    start.image = start.base;
    if (*keep && m_session.fixChecksumsOnSave())
        CartridgeHeader::setChecksums(start.image);
    start.changes = m_hooks.changeCount();
    return start;
}

SessionOutcome WholeImageChange::finish(const Start& start, const QString& text, const QByteArray& result,
                                        std::optional<bool> sameAsBase)
{
    if (!start.outcome.isDone())
        return start.outcome;
    if (start.changes != m_hooks.changeCount())
        return SessionOutcome::refused(
            QStringLiteral("The image was changed meanwhile; the result of \"%1\" is not applied.").arg(text));
    emit m_session.workEnding();
    RomImage& rom = m_session.state().core.rom;
    // Nothing changed since the start, so the kept working copies written
    // into the image give start.base: it takes their place, shared, uncopied.
    const QByteArray& before = start.keep ? start.base : rom.bytes();
    if (sameAsBase ? *sameAsBase : result == before) {
        if (start.keep) {
            rom.setBytes(start.base);
            m_hooks.writtenOutsideHistory();
        }
        return SessionOutcome::done(QStringLiteral("changes nothing in this image."));
    }
    if (start.keep)
        m_hooks.writtenOutsideHistory();
    // Working copies given up: the entries that made them undo nothing any more.
    else if (m_session.workingCopiesDiffer())
        m_session.undoStack().clear();
    replace(text, before, result);
    return SessionOutcome::done();
}
