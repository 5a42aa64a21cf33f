#include "script/script_job.h"

#include <QMutexLocker>
#include <QThreadPool>
#include <QTimer>
#include <QWaitCondition>

#include <utility>

namespace {
// Lines logged but not yet taken by the job's thread. A script that logs
// faster than they are shown waits here, so that its lines never pile up
// without bound; a stop releases it.
constexpr qsizetype MaxPendingLines = 1000;
}

// What the worker and the job share; it lives as long as either holds it.
struct ScriptJob::Run {
    ScriptStopper stopper;
    QMutex mutex;
    QWaitCondition changed;    // lines taken, a stop, the worker done
    QStringList pending;
    bool flushPosted = false;
    bool done = false;

    void stop(ScriptStopper::Reason reason)
    {
        stopper.stop(reason);
        QMutexLocker lock(&mutex);
        changed.wakeAll();
    }
    QStringList take()
    {
        QMutexLocker lock(&mutex);
        flushPosted = false;
        changed.wakeAll();
        return std::exchange(pending, {});
    }
};

ScriptJob::ScriptJob(QObject* parent) : QObject(parent), m_timer(new QTimer(this))
{
    qRegisterMetaType<ScriptResult>();
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_run)
            m_run->stop(ScriptStopper::Reason::Timeout);
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
    const auto emitLines = [job, run] {
        for (const QString& line : run->take())
            emit job->logLine(line);
    };
    QThreadPool::globalInstance()->start([run, request, job, emitLines] {
        const auto log = [&](const QString& line) {
            QMutexLocker lock(&run->mutex);
            while (run->pending.size() >= MaxPendingLines && run->stopper.reason() == ScriptStopper::Reason::None)
                run->changed.wait(&run->mutex);
            run->pending << line;
            if (!std::exchange(run->flushPosted, true))
                QMetaObject::invokeMethod(job, emitLines, Qt::QueuedConnection);
        };
        const ScriptResult result = runScript(request, log, &run->stopper);
        QMetaObject::invokeMethod(job, [job, run, result, emitLines] {
            emitLines();
            // A result of an earlier run is not this run's.
            if (job->m_run != run)
                return;
            job->m_timer->stop();
            job->m_running = false;
            emit job->finished(result);
        }, Qt::QueuedConnection);
        QMutexLocker lock(&run->mutex);
        run->done = true;
        run->changed.wakeAll();
    });
    m_timer->start(qMax(0, timeoutMs));
    return true;
}

void ScriptJob::stop()
{
    if (m_run)
        m_run->stop(ScriptStopper::Reason::Stop);
}

void ScriptJob::wait()
{
    if (!m_run)
        return;
    QMutexLocker lock(&m_run->mutex);
    while (!m_run->done)
        m_run->changed.wait(&m_run->mutex);
}
