#pragma once

#include "session/editor_session.h"
#include "session/worker_run.h"

#include <QObject>

// Apply Patch with the reading and applying done on a thread of its own, over
// a copy of the image, so the window stays free. The pick's question comes
// first, on the caller's thread; the result goes through the session as a
// patch applied at once does (one undo entry "Apply Patch", the same
// messages), and is refused when the image was changed meanwhile.
class PatchApplyJob : public QObject {
    Q_OBJECT
public:
    explicit PatchApplyJob(EditorSession& session, QObject* parent = nullptr);

    // Done: the patch is being applied and `finished` follows. Declined or
    // refused: nothing started (a patch under way refuses with an empty text).
    SessionOutcome start(const QString& patchPath);
    bool isRunning() const { return m_run.isRunning(); }
    // Waits for a patch under way and hands its result to the session now.
    void finish() { m_run.finish(); }

signals:
    void finished(const SessionOutcome& outcome);

private:
    EditorSession& m_session;
    WorkerRun m_run;
};
