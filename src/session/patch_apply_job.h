#pragma once

#include "session/editor_session.h"
#include "base/job_runner.h"
#include "base/work_progress.h"

#include <QObject>

// Apply Patch, the one way there is for the window, the command line and the
// tests: the reading and applying done on a thread of its own, over a copy of
// the image, so the window stays free. The pick's question comes
// first, on the caller's thread; the result is one undo entry "Apply Patch"
// with its status line (ImagePatches), and is refused when the image was
// changed meanwhile. A patch
// stopped before its result is handed over changes nothing: no undo entry,
// the image as it was, and the status line says so.
class PatchApplyJob : public QObject {
    Q_OBJECT
public:
    explicit PatchApplyJob(EditorSession& session, QObject* parent = nullptr);

    // Done: the patch is being applied and `finished` follows. Declined or
    // refused: nothing started (a patch under way refuses too).
    SessionOutcome start(const QString& patchPath);
    bool isRunning() const { return m_run.isRunning(); }
    // Waits for a patch under way and hands its result to the session now.
    void finish() { m_run.finish(); }
    // Waits for the worker; its result still waits for the event loop.
    void waitForWorker() { m_run.wait(); }
    // Any time: the patch under way stops, and `finished` says it was
    // declined. Nothing happens when no patch runs.
    void cancel() { m_progress.stop(); }
    // The patch bytes read (IPS) or image bytes built (BPS) so far, of all.
    const WorkProgress& progress() const { return m_progress; }
    // The same, to watch each report from the worker's thread (tests).
    WorkProgress& progress() { return m_progress; }

signals:
    void finished(const SessionOutcome& outcome);

private:
    EditorSession& m_session;
    WorkProgress m_progress;   // outlives the worker: m_run joins first
    JobRunner m_run;
};
