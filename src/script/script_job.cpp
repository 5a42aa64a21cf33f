#include "script/script_job.h"

#include "script/script_child.h"
#include "script/script_process.h"

#include <QMutex>
#include <QTimer>
#include <QWaitCondition>

namespace {

// The lines logged and not yet delivered. The worker adds to them and posts
// one delivery whenever none is on its way; the delivery takes every line
// there by then. So lines go over in batches as large as the owner's thread
// is slow, each line as soon as it is free, and a script that logs far
// faster than they are shown waits for room.
struct LogQueue {
    static constexpr qsizetype MaxWaiting = 100000;
    QMutex mutex;
    QWaitCondition taken;
    QStringList lines;
    bool posted = false;

    // The worker: true when a delivery is to be posted.
    bool add(const QStringList& batch, const std::function<bool()>& stopped)
    {
        QMutexLocker lock(&mutex);
        while (lines.size() >= MaxWaiting && !stopped())
            taken.wait(&mutex, 10);
        lines.append(batch);
        if (posted)
            return false;
        posted = true;
        return true;
    }
    // The owner's thread.
    QStringList take()
    {
        QMutexLocker lock(&mutex);
        posted = false;
        taken.wakeAll();
        return std::exchange(lines, {});
    }
};

QString& processProgram()
{
    static QString program;
    return program;
}

} // namespace

void ScriptJob::runInProcesses(const QString& program)
{
    processProgram() = program;
}

void ScriptJob::prepareProcess()
{
    if (!processProgram().isEmpty())
        ScriptProcess::prepare(processProgram());
}

ScriptJob::ScriptJob(QObject* parent)
    : QObject(parent), m_timer(new QTimer(this)), m_program(processProgram()),
      m_memoryMiB(ScriptChild::DefaultMemoryMiB)
{
    qRegisterMetaType<ScriptResult>();
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_process)
            m_process->stop(ScriptStopper::Reason::Timeout);
        if (m_stopper)
            m_stopper->stop(ScriptStopper::Reason::Timeout);
    });
    if (!m_program.isEmpty()) {
        m_process = new ScriptProcess(this);
        connect(m_process, &ScriptProcess::logLines, this, &ScriptJob::logLines);
        connect(m_process, &ScriptProcess::finished, this, [this](const ScriptResult& result) {
            m_timer->stop();
            emit finished(result);
        });
    }
}

bool ScriptJob::isRunning() const
{
    return m_process ? m_process->isRunning() : m_run.isRunning();
}

void ScriptJob::wait()
{
    if (m_process)
        m_process->wait();
    else
        m_run.wait();
}

ScriptJob::~ScriptJob()
{
    stop();
}

bool ScriptJob::start(const ScriptRequest& request, int timeoutMs)
{
    if (isRunning())
        return false;
    if (m_process) {
        m_process->start(request, m_program, m_memoryMiB);
        m_timer->start(qMax(0, timeoutMs));
        return true;
    }
    auto stopper = std::make_shared<ScriptStopper>();
    m_stopper = stopper;
    m_run.add([this, request, stopper](JobRunner::Job& job) -> JobRunner::Handover {
        // A script that logs faster than its lines are shown waits for room,
        // until it is stopped.
        const auto stopped = [&] { return stopper->reason() != ScriptStopper::Reason::None; };
        auto queue = std::make_shared<LogQueue>();
        const auto log = [&](const QStringList& lines) {
            if (queue->add(lines, stopped))
                job.post([this, queue] { emit logLines(queue->take()); }, stopped);
        };
        const ScriptResult result = runScriptBatched(request, log, stopper.get());
        return {[this, result] {
            m_timer->stop();
            emit finished(result);
        }};
    });
    m_timer->start(qMax(0, timeoutMs));
    return true;
}

void ScriptJob::stop()
{
    if (m_process)
        m_process->stop(ScriptStopper::Reason::Stop);
    if (m_stopper)
        m_stopper->stop(ScriptStopper::Reason::Stop);
}
