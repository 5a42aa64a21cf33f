#include "script/script_process.h"

#include "script/script_child.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProcess>

namespace {

QProcess* newProcess(const QString& program, QObject* parent)
{
    auto* process = new QProcess(parent);
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(program, {QLatin1String(ScriptChild::Option)});
    return process;
}

// Lets a process go that may still run (one that has sent its result and
// ends, or one no longer wanted): ended now, deleted once it has.
void retire(QProcess* process)
{
    process->disconnect();
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}

// The process started ahead, and its program.
QPointer<QProcess> prepared;
QString preparedProgram;

// Ends the waiting process before the application takes its children apart.
void endPrepared()
{
    if (prepared && prepared->state() != QProcess::NotRunning) {
        prepared->kill();
        prepared->waitForFinished(-1);
    }
}

} // namespace

void ScriptProcess::prepare(const QString& program)
{
    static const bool ending = (qAddPostRoutine(endPrepared), true);
    Q_UNUSED(ending);
    if (prepared && prepared->state() != QProcess::NotRunning && preparedProgram == program)
        return;
    if (prepared)
        retire(prepared);
    // Owned by the application, which ends it when it goes.
    prepared = newProcess(program, QCoreApplication::instance());
    preparedProgram = program;
}

qint64 ScriptProcess::preparedProcessId()
{
    return prepared && prepared->state() != QProcess::NotRunning ? prepared->processId() : 0;
}

ScriptProcess::ScriptProcess(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<ScriptResult>();
}

ScriptProcess::~ScriptProcess()
{
    for (QProcess* process : findChildren<QProcess*>()) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(-1);
        }
    }
}

void ScriptProcess::start(const ScriptRequest& request, const QString& program, qint64 memoryMiB)
{
    m_fileName = request.fileName;
    m_image = request.image;
    m_buffer.clear();
    m_result.reset();
    m_broken = false;
    m_ended = false;
    m_reason = ScriptStopper::Reason::None;
    m_running = true;
    if (m_process)
        retire(m_process);   // the last run's, which may still be ending after its result
    // The state of a process changes only in this thread's event loop: one
    // still waiting here is still waiting when its signals are connected.
    if (prepared && prepared->state() != QProcess::NotRunning && preparedProgram == program) {
        m_process = prepared;
        m_process->setParent(this);
        prepared = nullptr;
    } else {
        m_process = newProcess(program, this);
    }
    connect(m_process, &QProcess::readyReadStandardOutput, this, &ScriptProcess::read);
    connect(m_process, &QProcess::finished, this, [this] { ended(QString()); });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(m_process->errorString());
    });
    m_process->write(ScriptChild::encodeRequest(request, memoryMiB));
    m_process->closeWriteChannel();
}

void ScriptProcess::stop(ScriptStopper::Reason reason)
{
    if (!m_running || m_ended)
        return;
    if (m_reason == ScriptStopper::Reason::None)
        m_reason = reason;
    m_process->kill();
}

void ScriptProcess::wait()
{
    if (m_process && m_process->state() != QProcess::NotRunning)
        m_process->waitForFinished(-1);
}

void ScriptProcess::read()
{
    m_buffer += m_process->readAllStandardOutput();
    if (m_broken)
        return;
    const auto log = [this](const QStringList& lines) { emit logLines(lines); };
    if (!ScriptChild::takeFrames(m_buffer, log, m_result, m_image))
        m_broken = true;
    // The result is the last frame: the run ends with it, while the process
    // ends on its own.
    if (m_result && !m_broken)
        ended(QString());
}

void ScriptProcess::ended(const QString& problem)
{
    if (m_ended)
        return;
    m_ended = true;
    read();
    ScriptResult result;
    result.end = ScriptResult::End::Failed;
    if (m_reason == ScriptStopper::Reason::Timeout) {
        result.end = ScriptResult::End::TimedOut;
        result.error = QStringLiteral("%1: stopped: it ran longer than it may.").arg(m_fileName);
    } else if (m_reason == ScriptStopper::Reason::Stop) {
        result.end = ScriptResult::End::Stopped;
        result.error = QStringLiteral("%1: stopped.").arg(m_fileName);
    } else if (!problem.isEmpty()) {
        result.error = QStringLiteral("%1: the script's process cannot be started: %2").arg(m_fileName, problem);
    } else if (m_result && !m_broken) {
        result = *m_result;
    } else if (m_process->exitStatus() == QProcess::NormalExit
               && m_process->exitCode() == ScriptChild::ExitOutOfMemory) {
        result.error = QStringLiteral("%1: out of memory.").arg(m_fileName);
    } else {
        result.error = QStringLiteral("%1: the script's process ended without a result.").arg(m_fileName);
    }
    // Delivered from the event loop, as the thread-run job does.
    QMetaObject::invokeMethod(this, [this, result] {
        m_running = false;
        emit finished(result);
    }, Qt::QueuedConnection);
}
