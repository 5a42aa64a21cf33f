#include "session/worker_run.h"

WorkerRun::WorkerRun(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

WorkerRun::~WorkerRun()
{
    m_pool.waitForDone();
}

bool WorkerRun::start(Work work)
{
    if (m_running)
        return false;
    m_running = true;
    m_pool.start([this, work = std::move(work)] {
        Handover result = work();
        {
            const std::lock_guard<std::mutex> hold(m_lock);
            m_result = std::move(result);
            m_done = true;
        }
        // Dropped with the run when it is destroyed first.
        QMetaObject::invokeMethod(this, [this] { handOver(); }, Qt::QueuedConnection);
    });
    return true;
}

void WorkerRun::finish()
{
    if (!m_running)
        return;
    m_pool.waitForDone();
    handOver();
}

void WorkerRun::handOver()
{
    Handover result;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        // finish() may have handed it over before this queued call came.
        if (!m_done)
            return;
        m_done = false;
        result.swap(m_result);
    }
    m_running = false;
    if (result)
        result();
}
