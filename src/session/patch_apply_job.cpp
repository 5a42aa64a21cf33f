#include "session/patch_apply_job.h"

#include "model/rom/patch_file.h"

#include <QFileInfo>

PatchApplyJob::PatchApplyJob(EditorSession& session, QObject* parent) : QObject(parent), m_session(session) {}

SessionOutcome PatchApplyJob::start(const QString& patchPath)
{
    if (m_run.isRunning())
        return SessionOutcome::refused({});
    EditorSession::WholeImageStart start = m_session.beginWholeImageChange();
    if (!start.outcome.isDone())
        return start.outcome;
    m_progress.restart();
    // The worker has its own handle on the image's bytes (shared until
    // either side writes) and gives the start back with the result.
    m_run.start([this, start = std::move(start), patchPath]() -> WorkerRun::Handover {
        PatchResult patched = applyPatchFile(patchPath, start.image, &m_progress);
        return [this, start, patchPath, patched = std::move(patched)] {
            // A stop asked after the worker ended still drops its result.
            if (m_progress.stopped()) {
                emit m_session.statusText(QStringLiteral("Apply Patch cancelled: %1 was not applied.")
                                              .arg(QFileInfo(patchPath).fileName()));
                emit finished(SessionOutcome::declined());
                return;
            }
            emit finished(m_session.applyPatchResult(start, patchPath, patched));
        };
    });
    return SessionOutcome::done();
}
