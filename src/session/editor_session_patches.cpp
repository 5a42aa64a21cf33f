// The session's patch commands: Export Patch and Apply Patch.
#include "session/editor_session.h"

#include "session/map_pick.h"
#include "model/rom/image_replace_command.h"
#include "model/rom/patch_file.h"
#include "base/prompts.h"

#include <QFileInfo>

QString EditorSession::exportPatch(const QString& originalPath, const QString& patchPath)
{
    if (!m_state.core.romLoaded())
        return QStringLiteral("Load a ROM image first.");
    RomImage original;
    QString error;
    if (!original.loadFromFile(originalPath, &error))
        return error;
    error = writePatchFile(patchPath, original.bytes(), imageAsSaved());
    if (error.isEmpty())
        emit statusText(QStringLiteral("Wrote %1.").arg(QFileInfo(patchPath).fileName()));
    return error;
}

QString EditorSession::applyPatch(const QString& patchPath)
{
    if (!m_state.core.romLoaded())
        return QStringLiteral("Load a ROM image first.");
    const std::optional<bool> keep = askKeepWorkingCopies();
    if (!keep)
        return {};
    // The patch is tried first, so that a refusal leaves everything as it was.
    const PatchResult patched = applyPatchFile(patchPath, *keep ? imageAsSaved() : m_state.core.rom.bytes());
    if (!patched.image)
        return patched.error;
    if (*keep)
        writeWorkingCopies();
    const QString name = QFileInfo(patchPath).fileName();
    if (*patched.image == m_state.core.rom.bytes()) {
        emit statusText(QStringLiteral("%1 changes nothing in this image.").arg(name));
        return {};
    }
    // As at a pick, the history starts again; the patch is its first entry.
    m_undo.clear();
    push(new ImageReplaceCommand(m_state.core.rom, QStringLiteral("Apply Patch"), m_state.core.rom.bytes(),
                                 *patched.image, [this] { imageReplaced(); }));
    emit statusText(QStringLiteral("Applied %1.").arg(name));
    return {};
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
    if (!result.eventsProblem.isEmpty())
        m_prompts.error(result.eventsProblem);
    if (!result.wildProblem.isEmpty())
        m_prompts.message(Prompts::Kind::Warning, result.wildProblem);
}
