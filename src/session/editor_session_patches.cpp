// Changes of the whole image: patches made and applied, and the one step
// every replacement of the image goes through.
#include "session/editor_session.h"

#include "session/map_pick.h"
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
    const std::optional<bool> keep = askKeepWorkingCopies();
    if (!keep)
        return SessionOutcome::declined();
    // The patch is tried first, so that a refusal leaves everything as it was.
    const PatchResult patched = applyPatchFile(patchPath, *keep ? imageAsSaved() : m_state.core.rom.bytes());
    if (!patched.image)
        return SessionOutcome::refused(patched.error);
    if (*keep)
        writeWorkingCopies();
    const QString name = QFileInfo(patchPath).fileName();
    if (*patched.image == m_state.core.rom.bytes()) {
        emit statusText(QStringLiteral("%1 changes nothing in this image.").arg(name));
        return SessionOutcome::done();
    }
    replaceImage(QStringLiteral("Apply Patch"), *patched.image);
    emit statusText(QStringLiteral("Applied %1.").arg(name));
    return SessionOutcome::done();
}

void EditorSession::replaceImage(const QString& text, const QByteArray& image)
{
    // As at a pick, the history starts again; the replacement is its first entry.
    m_undo.clear();
    push(new ImageReplaceCommand(m_state.core.rom, text, m_state.core.rom.bytes(), image, [this] { imageReplaced(); }));
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
