// Changes of the whole image: patches made and applied, and the one step
// every replacement of the image goes through.
#include "session/editor_session.h"

#include "session/map_pick.h"
#include "model/rom/cartridge_header.h"
#include "model/rom/image_replace_command.h"
#include "model/rom/patch_file.h"
#include "base/prompts.h"

#include <QFileInfo>

namespace {
const QString NoRom = QStringLiteral("Load a ROM image first.");
}

SessionOutcome EditorSession::makePatch(const QString& originalPath, const QString& patchPath)
{
    if (!m_state.core.romLoaded())
        return SessionOutcome::refused(NoRom);
    RomImage original;
    QString error;
    if (!original.loadFromFile(originalPath, &error))
        return SessionOutcome::refused(error);
    error = writePatchFile(patchPath, original.bytes(), imageAsSaved());
    if (!error.isEmpty())
        return SessionOutcome::refused(error);
    emit statusText(QStringLiteral("Wrote %1.").arg(QFileInfo(patchPath).fileName()));
    return SessionOutcome::done();
}

SessionOutcome EditorSession::applyPatch(const QString& patchPath)
{
    if (!m_state.core.romLoaded())
        return SessionOutcome::refused(NoRom);
    const WholeImageStart start = beginWholeImageChange();
    if (!start.outcome.isDone())
        return start.outcome;
    // The patch is tried first, so that a refusal leaves everything as it was.
    return applyPatchResult(start, patchPath, applyPatchFile(patchPath, start.image));
}

SessionOutcome EditorSession::applyPatchResult(const WholeImageStart& start, const QString& patchPath,
                                               const PatchResult& patched, std::optional<bool> sameAsBase)
{
    if (!start.outcome.isDone())
        return start.outcome;
    if (!patched.image)
        return SessionOutcome::refused(patched.error);
    const QString name = QFileInfo(patchPath).fileName();
    const SessionOutcome applied =
        finishWholeImageChange(start, QStringLiteral("Apply Patch"), *patched.image, sameAsBase);
    if (applied.isDone())
        emit statusText(applied.note.isEmpty() ? QStringLiteral("Applied %1.").arg(name)
                                               : QStringLiteral("%1 %2").arg(name, applied.note));
    return applied;
}

EditorSession::WholeImageStart EditorSession::beginWholeImageChange()
{
    WholeImageStart start;
    if (!m_state.core.romLoaded()) {
        start.outcome = SessionOutcome::refused(NoRom);
        return start;
    }
    const std::optional<bool> keep = askKeepWorkingCopies();
    if (!keep) {
        start.outcome = SessionOutcome::declined();
        return start;
    }
    start.keep = *keep;
    start.base = *keep ? imageWithWorkingCopies() : m_state.core.rom.bytes();
    start.image = start.base;
    if (*keep && m_fixChecksums)
        CartridgeHeader::setChecksums(start.image);
    start.changes = m_changes;
    return start;
}

SessionOutcome EditorSession::finishWholeImageChange(const WholeImageStart& start, const QString& text,
                                                     const QByteArray& result, std::optional<bool> sameAsBase)
{
    if (!start.outcome.isDone())
        return start.outcome;
    if (start.changes != m_changes)
        return SessionOutcome::refused(
            QStringLiteral("The image was changed meanwhile; the result of \"%1\" is not applied.").arg(text));
    emit workEnding();
    // Nothing changed since the start, so the kept working copies written
    // into the image give start.base: it takes their place, shared, uncopied.
    const QByteArray& before = start.keep ? start.base : m_state.core.rom.bytes();
    if (start.keep)
        m_romUnsaved = true;
    if (sameAsBase ? *sameAsBase : result == before) {
        if (start.keep)
            m_state.core.rom.setBytes(start.base);
        updateModified();
        return SessionOutcome::done(QStringLiteral("changes nothing in this image."));
    }
    // Working copies given up: the entries that made them undo nothing any more.
    if (!start.keep && workingCopiesDiffer())
        m_undo.clear();
    replaceImage(text, before, result);
    return SessionOutcome::done();
}

void EditorSession::replaceImage(const QString& text, const QByteArray& image)
{
    replaceImage(text, m_state.core.rom.bytes(), image);
}

void EditorSession::replaceImage(const QString& text, const QByteArray& before, const QByteArray& image)
{
    // One more entry on top of the history: undone, it gives back the image
    // the entries below it were made on, and the map read from it.
    push(new ImageReplaceCommand(m_state.core.rom, text, before, image, [this] { imageReplaced(); }));
}

void EditorSession::imageReplaced()
{
    // Any block may have changed: the pictures are built again at the pick.
    m_state.pictures.clear();
    emit romBytesChanged();
    if (!m_state.core.map.isMap())
        return;
    QString refusal;
    const std::optional<PreparedPick> pick =
        prepareMapPick(m_state.core.catalogue, m_state.core.rom, m_state.core.map.name, true, &refusal);
    if (!pick) {
        dropMap();
        if (!refusal.isEmpty())
            m_prompts.error(refusal);
        return;
    }
    PickResult result;
    commitPick(*pick, &result, false);
    sayPickProblems(result);
}
