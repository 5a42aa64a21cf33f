#pragma once

#include "script/script_run.h"

#include <QObject>
#include <memory>

class QTimer;

// Runs one script at a time on a worker thread of Qt's pool, with an engine
// of its own there, so that the thread that started it stays free. The
// signals arrive on the thread the job belongs to, the log lines in order
// and all of them before `finished`. A job destroyed while its script runs
// stops the script and waits for it.
class ScriptJob : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 30000;

    explicit ScriptJob(QObject* parent = nullptr);
    ~ScriptJob() override;

    // Starts the script; false (and nothing started) while one still runs.
    // After `timeoutMs` milliseconds the script is stopped as timed out.
    bool start(const ScriptRequest& request, int timeoutMs = DefaultTimeoutMs);
    // Asks the running script to stop; it ends as Stopped. Safe when none runs.
    void stop();
    // Blocks until the worker is done with the script (its `finished` is
    // still delivered later, by the event loop).
    void wait();
    // From start() until `finished` has been emitted.
    bool isRunning() const { return m_running; }

signals:
    void logLine(const QString& line);
    void finished(const ScriptResult& result);

private:
    struct Run;
    std::shared_ptr<Run> m_run;
    QTimer* m_timer = nullptr;
    bool m_running = false;
};
