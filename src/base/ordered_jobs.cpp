#include "base/ordered_jobs.h"

#include <QSemaphore>

struct OrderedJobs::Pending : QRunnable {
    explicit Pending(Job work) : job(std::move(work)) { setAutoDelete(false); }
    void run() override
    {
        deliver = job();
        job = nullptr;
        ready.release();
    }
    Job job;
    Deliver deliver;
    QSemaphore ready;
};

OrderedJobs::OrderedJobs(int threads, int ahead) : m_ahead(qMax(1, ahead)), m_here(threads <= 1)
{
    m_pool.setMaxThreadCount(qMax(1, threads));
}

OrderedJobs::~OrderedJobs()
{
    finish();
}

void OrderedJobs::add(Job job)
{
    if (m_here) {
        const Deliver deliver = job();
        if (deliver)
            deliver();
        return;
    }
    while (qsizetype(m_pending.size()) >= m_ahead)
        deliverOldest();
    m_pending.push_back(std::make_unique<Pending>(std::move(job)));
    m_pool.start(m_pending.back().get());
}

void OrderedJobs::finish()
{
    while (!m_pending.empty())
        deliverOldest();
}

void OrderedJobs::deliverOldest()
{
    const std::unique_ptr<Pending> oldest = std::move(m_pending.front());
    m_pending.pop_front();
    // Not started yet: run here rather than wait for a worker.
    if (m_pool.tryTake(oldest.get()))
        oldest->run();
    oldest->ready.acquire();
    if (oldest->deliver)
        oldest->deliver();
}
