#include "session/patch_apply_job.h"

#include "session/image_patches.h"
#include "session/whole_image_change.h"
#include "model/rom/patch_file.h"

#include <QFileInfo>

PatchApplyJob::PatchApplyJob(EditorSession& session, QObject* parent) : QObject(parent), m_session(session) {}

SessionOutcome PatchApplyJob::start(const QString& patchPath)
{
    if (m_run.isRunning())
        return SessionOutcome::refused(QStringLiteral("A patch is being applied; wait for it to finish."));
    WholeImageChange::Start start = m_session.wholeImage().begin();
    if (!start.outcome.isDone())
        return start.outcome;
    m_progress.restart();
    // The worker has its own handle on the image's bytes (shared until
    // either side writes) and gives the start back with the result.
    m_run.add([this, start = std::move(start), patchPath](JobRunner::Job&) -> JobRunner::Handover {
        PatchResult patched = applyPatchFile(patchPath, start.image, &m_progress);
        // Compared here, so that the hand-over reads nothing of the whole
        // image; the result goes over shared, not copied.
        const bool same = patched.image && *patched.image == start.base;
        return {[this, start, patchPath, patched = std::move(patched), same] {
                    emit finished(ImagePatches(m_session).applied(start, patchPath, patched, same));
                },
                // A stop asked up to the hand-over (after the worker ended,
                // too) drops the result.
                [this, patchPath] {
                    emit m_session.statusText(QStringLiteral("Apply Patch cancelled: %1 was not applied.")
                                                  .arg(QFileInfo(patchPath).fileName()));
                    emit finished(SessionOutcome::declined());
                }};
    }, &m_progress);
    return SessionOutcome::done();
}
