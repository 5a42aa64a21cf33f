#include "session/image_patches.h"

#include "session/editor_session.h"
#include "model/rom/patch_file.h"

#include <QFileInfo>

SessionOutcome ImagePatches::make(const QString& originalPath, const QString& patchPath)
{
    if (!m_session.state().core.romLoaded())
        return SessionOutcome::refused(QStringLiteral("Load a ROM image first."));
    RomImage original;
    QString error;
    if (!original.loadFromFile(originalPath, &error))
        return SessionOutcome::refused(error);
    error = writePatchFile(patchPath, original.bytes(), m_session.imageAsSaved());
    if (!error.isEmpty())
        return SessionOutcome::refused(error);
    emit m_session.statusText(QStringLiteral("Wrote %1.").arg(QFileInfo(patchPath).fileName()));
    return SessionOutcome::done();
}

SessionOutcome ImagePatches::applied(const WholeImageChange::Start& start, const QString& patchPath,
                                     const PatchResult& patched, std::optional<bool> sameAsBase)
{
    if (!start.outcome.isDone())
        return start.outcome;
    if (!patched.image)
        return SessionOutcome::refused(patched.error);
    const QString name = QFileInfo(patchPath).fileName();
    const SessionOutcome applied =
        m_session.wholeImage().finish(start, QStringLiteral("Apply Patch"), *patched.image, sameAsBase);
    if (applied.isDone())
        emit m_session.statusText(applied.note.isEmpty() ? QStringLiteral("Applied %1.").arg(name)
                                                         : QStringLiteral("%1 %2").arg(name, applied.note));
    return applied;
}
