#pragma once

#include "script/script_run.h"
#include "base/job_runner.h"

#include <QObject>
#include <memory>

class QTimer;
class ScriptProcess;

// Runs one script at a time as a background job, with an engine
// of its own there, so that the thread that started it stays free. The
// signals arrive on the thread the job belongs to, the log lines in order
// (in batches) and all of them before `finished`. A job destroyed while its script runs
// stops the script and waits for it.
class ScriptJob : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 30000;

    explicit ScriptJob(QObject* parent = nullptr);
    ~ScriptJob() override;

    // From now on, jobs made run their scripts in processes of their own,
    // `program` started with ScriptChild's option (the program itself),
    // under a memory bound; without this they run on a worker thread here.
    static void runInProcesses(const QString& program);
    // When scripts run in processes: starts the process of the next script
    // ahead, so that its run starts at once (see ScriptProcess::prepare).
    static void prepareProcess();
    // The memory bound of this job's scripts in MiB (run in processes only).
    void setMemoryMiB(qint64 memoryMiB) { m_memoryMiB = memoryMiB; }

    // Starts the script; false (and nothing started) while one still runs.
    // After `timeoutMs` milliseconds the script is stopped as timed out.
    bool start(const ScriptRequest& request, int timeoutMs = DefaultTimeoutMs);
    // Asks the running script to stop; it ends as Stopped. Safe when none runs.
    void stop();
    // Blocks until the worker is done with the script (its `finished` is
    // still delivered later, by the event loop).
    void wait();
    // From start() until `finished` has been emitted.
    bool isRunning() const;

signals:
    // One or more lines, as many as came since the last.
    void logLines(const QStringList& lines);
    void finished(const ScriptResult& result);

private:
    std::shared_ptr<ScriptStopper> m_stopper;
    QTimer* m_timer = nullptr;
    JobRunner m_run;
    QString m_program;   // empty: on a worker thread
    qint64 m_memoryMiB;
    ScriptProcess* m_process = nullptr;
};
