#pragma once

#include "script/script_run.h"

#include <QObject>
#include <optional>

class QProcess;

// One script run in a process of its own (see ScriptChild), from the thread
// this belongs to: no thread waits for it, its lines and its end arrive as
// signals from the event loop. A stop ends the process at once.
class ScriptProcess : public QObject {
    Q_OBJECT
public:
    explicit ScriptProcess(QObject* parent = nullptr);
    ~ScriptProcess() override;

    // Starts `program` as a script's process ahead of its run, waiting for
    // its request: the next run of the same program takes it and pays none
    // of a process's start-up. One such process waits at a time, for the
    // whole program; it ends when the program does (its input closes).
    static void prepare(const QString& program);
    // The process id of the one waiting, 0 when none does.
    static qint64 preparedProcessId();

    // Runs the request in `program`'s process under a bound of `memoryMiB`:
    // the one prepared when it still waits, else a new one.
    void start(const ScriptRequest& request, const QString& program, qint64 memoryMiB);
    // Ends the process; the run ends as Stopped or TimedOut.
    void stop(ScriptStopper::Reason reason);
    // Waits for the process to end; `finished` is still delivered later.
    void wait();
    bool isRunning() const { return m_running; }

signals:
    void logLines(const QStringList& lines);
    void finished(const ScriptResult& result);

private:
    void read();
    void ended(const QString& problem);

    QProcess* m_process = nullptr;   // of the run under way or ended last
    QString m_fileName;
    QByteArray m_image;   // the request's
    QByteArray m_buffer;
    std::optional<ScriptResult> m_result;
    bool m_broken = false;
    bool m_running = false;
    bool m_ended = false;
    ScriptStopper::Reason m_reason = ScriptStopper::Reason::None;
};
