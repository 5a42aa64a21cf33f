#include "script/script_process.h"

#include "script/script_child.h"

#include <QProcess>

ScriptProcess::ScriptProcess(QObject* parent) : QObject(parent), m_process(new QProcess(this))
{
    qRegisterMetaType<ScriptResult>();
    m_process->setStandardErrorFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &ScriptProcess::read);
    connect(m_process, &QProcess::finished, this, [this] { ended(QString()); });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(m_process->errorString());
    });
}

ScriptProcess::~ScriptProcess()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(-1);
    }
}

void ScriptProcess::start(const ScriptRequest& request, const QString& program, qint64 memoryMiB)
{
    m_fileName = request.fileName;
    m_buffer.clear();
    m_result.reset();
    m_broken = false;
    m_ended = false;
    m_reason = ScriptStopper::Reason::None;
    m_running = true;
    m_process->start(program, {QLatin1String(ScriptChild::Option), QString::number(memoryMiB)});
    m_process->write(ScriptChild::encodeRequest(request));
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
    if (m_process->state() != QProcess::NotRunning)
        m_process->waitForFinished(-1);
}

void ScriptProcess::read()
{
    m_buffer += m_process->readAllStandardOutput();
    if (m_broken)
        return;
    if (!ScriptChild::takeFrames(m_buffer, [this](const QStringList& lines) { emit logLines(lines); }, m_result))
        m_broken = true;
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
