#include "script/script_job.h"

#include <QMutexLocker>
#include <QThreadPool>
#include <QTimer>
#include <QWaitCondition>

// What the worker and the job share; it lives as long as either holds it.
struct ScriptJob::Run {
    ScriptStopper stopper;
    QMutex mutex;
    QWaitCondition doneChanged;
    bool done = false;
};

ScriptJob::ScriptJob(QObject* parent) : QObject(parent), m_timer(new QTimer(this))
{
    qRegisterMetaType<ScriptResult>();
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_run)
            m_run->stopper.stop(ScriptStopper::Reason::Timeout);
    });
}

ScriptJob::~ScriptJob()
{
    stop();
    wait();
}

bool ScriptJob::start(const ScriptRequest& request, int timeoutMs)
{
    if (m_running)
        return false;
    wait();   // a worker that has posted its result may still be unwinding
    m_running = true;
    auto run = std::make_shared<Run>();
    m_run = run;
    // The worker reaches the job only through queued calls, which keep their
    // order; the job outlives the worker (its destructor waits), and calls
    // still queued when it goes are dropped with it.
    ScriptJob* job = this;
    QThreadPool::globalInstance()->start([run, request, job] {
        const auto log = [job](const QString& line) {
            QMetaObject::invokeMethod(job, [job, line] { emit job->logLine(line); }, Qt::QueuedConnection);
        };
        const ScriptResult result = runScript(request, log, &run->stopper);
        QMetaObject::invokeMethod(job, [job, run, result] {
            // A result of an earlier run is not this run's.
            if (job->m_run != run)
                return;
            job->m_timer->stop();
            job->m_running = false;
            emit job->finished(result);
        }, Qt::QueuedConnection);
        QMutexLocker lock(&run->mutex);
        run->done = true;
        run->doneChanged.wakeAll();
    });
    m_timer->start(qMax(0, timeoutMs));
    return true;
}

void ScriptJob::stop()
{
    if (m_run)
        m_run->stopper.stop(ScriptStopper::Reason::Stop);
}

void ScriptJob::wait()
{
    if (!m_run)
        return;
    QMutexLocker lock(&m_run->mutex);
    while (!m_run->done)
        m_run->doneChanged.wait(&m_run->mutex);
}
