#include "base/job_runner.h"

#include <QMutex>
#include <QMutexLocker>
#include <QWaitCondition>

#include <utility>

// One job, shared by the runner and, while it runs, its worker.
struct JobSlot : QRunnable, std::enable_shared_from_this<JobSlot> {
    JobSlot(JobRunner* owner, bool inline_, JobRunner::Work job, WorkProgress* given)
        : runner(owner), here(inline_), work(std::move(job)), progress(given ? given : &own)
    {
        setAutoDelete(false);
    }

    void run() override
    {
        // The owner may let go of the slot as soon as `ended` is set.
        const std::shared_ptr<JobSlot> keep = shared_from_this();
        JobRunner::Job job(*this);
        JobRunner::Handover result = work(job);
        QMutexLocker lock(&mutex);
        handover = std::move(result);
        ended = true;
        changed.wakeAll();
        lock.unlock();
        notify();
    }

    void notify();

    JobRunner* runner;
    bool here;   // runs on the owner's thread, in add()
    JobRunner::Work work;
    WorkProgress own;
    WorkProgress* progress;
    QMutex mutex;
    QWaitCondition changed;   // a post, a post taken, the end
    std::deque<std::function<void()>> posts;
    JobRunner::Handover handover;
    bool ended = false;
};

void JobSlot::notify()
{
    runner->wake();
}

WorkProgress& JobRunner::Job::progress() const { return *m_slot.progress; }

void JobRunner::Job::post(std::function<void()> partial, const std::function<bool()>& endWait)
{
    if (m_slot.here) {
        // Every job before this one has been handed over already.
        if (!stopped())
            partial();
        return;
    }
    {
        QMutexLocker lock(&m_slot.mutex);
        // The owner takes posts as it runs them; a stop frees the worker.
        while (qsizetype(m_slot.posts.size()) >= MaxPosts && !stopped() && !(endWait && endWait()))
            m_slot.changed.wait(&m_slot.mutex, 10);
        m_slot.posts.push_back(std::move(partial));
        m_slot.changed.wakeAll();
    }
    m_slot.notify();
}

JobRunner::JobRunner(int threads, int ahead, QObject* parent)
    : QObject(parent), m_ahead(qMax(1, ahead)), m_here(threads <= 0)
{
    m_pool.setMaxThreadCount(qMax(1, threads));
}

JobRunner::~JobRunner()
{
    stopAll();
    m_pool.waitForDone();
}

void JobRunner::add(Work work, WorkProgress* progress)
{
    while (qsizetype(m_slots.size()) >= m_ahead)
        takeBackOldest();
    auto slot = std::make_shared<JobSlot>(this, m_here, std::move(work), progress);
    m_slots.push_back(slot);
    if (m_here) {
        JobSlot& job = *slot;
        JobRunner::Job side(job);
        job.handover = job.work(side);
        job.ended = true;
        handOver(job);
        return;
    }
    m_pool.start(slot.get());
}

void JobRunner::stopAll()
{
    for (const std::shared_ptr<JobSlot>& slot : m_slots)
        slot->progress->stop();
}

void JobRunner::finish()
{
    while (!m_slots.empty())
        takeBackOldest();
}

void JobRunner::wake()
{
    if (m_here || m_wakePosted.exchange(true))
        return;
    QMetaObject::invokeMethod(this, [this] { deliverReady(); }, Qt::QueuedConnection);
}

bool JobRunner::deliverPosts(JobSlot& slot)
{
    // Keeps the slot while its posts run: one may call finish().
    const std::shared_ptr<JobSlot> keep = slot.shared_from_this();
    for (;;) {
        QMutexLocker lock(&slot.mutex);
        if (slot.posts.empty())
            return slot.ended;
        std::function<void()> partial = std::move(slot.posts.front());
        slot.posts.pop_front();
        slot.changed.wakeAll();
        lock.unlock();
        if (!slot.progress->stopped())
            partial();
    }
}

void JobRunner::handOver(JobSlot& job)
{
    // A post may have run the event loop, which handed the job over already.
    if (m_slots.empty() || m_slots.front().get() != &job)
        return;
    const std::shared_ptr<JobSlot> slot = std::move(m_slots.front());
    m_slots.pop_front();
    Handover result = std::move(slot->handover);
    // Read here, on the owner's thread, as the result is taken.
    const std::function<void()>& run = slot->progress->stopped() ? result.dropped : result.apply;
    if (run)
        run();
}

void JobRunner::deliverReady()
{
    m_wakePosted = false;
    while (!m_slots.empty() && deliverPosts(*m_slots.front()))
        handOver(*m_slots.front());
}

void JobRunner::takeBackOldest()
{
    const std::shared_ptr<JobSlot> keep = m_slots.front();
    JobSlot& oldest = *keep;
    // Not started yet: run here rather than wait for a worker.
    if (!m_here && m_pool.tryTake(&oldest))
        oldest.run();
    while (!deliverPosts(oldest)) {
        QMutexLocker lock(&oldest.mutex);
        if (oldest.posts.empty() && !oldest.ended)
            oldest.changed.wait(&oldest.mutex);
    }
    handOver(oldest);
}
