#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

// How far a piece of work on another thread has come, and the request to
// stop it. The worker reports between steps of its own choosing (records of
// a patch, bands of a picture) and stops at the first report after stop();
// any thread may read the figures or ask for the stop.
class WorkProgress {
public:
    // Any thread: the work ends at its next report, its result unused.
    void stop() { m_stop.store(true, std::memory_order_relaxed); }
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }

    qint64 done() const { return m_done.load(std::memory_order_relaxed); }
    qint64 total() const { return m_total.load(std::memory_order_relaxed); }

    // The worker: `done` of `total` units are behind it. False when the work
    // is to stop here.
    bool report(qint64 done, qint64 total)
    {
        m_total.store(total, std::memory_order_relaxed);
        m_done.store(done, std::memory_order_relaxed);
        if (observer)
            observer(done, total);
        return !stopped();
    }

    // Before new work: no stop asked, nothing done.
    void restart()
    {
        m_stop.store(false, std::memory_order_relaxed);
        m_done.store(0, std::memory_order_relaxed);
        m_total.store(0, std::memory_order_relaxed);
    }

    // Called on the worker's thread at each report (tests stop at a chosen one).
    std::function<void(qint64 done, qint64 total)> observer;

private:
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_done = 0;
    std::atomic<qint64> m_total = 0;
};

// Reports a counter as it passes steps of `step` units, so that a hot loop
// pays one comparison per pass. Null progress: never stops.
class ProgressSteps {
public:
    ProgressSteps(WorkProgress* progress, qint64 total, qint64 step)
        : m_progress(progress), m_total(total), m_step(qMax<qint64>(step, 1)), m_next(progress ? 0 : -1)
    {
    }

    // False when the work is to stop.
    bool at(qint64 done)
    {
        if (m_next < 0 || done < m_next)
            return true;
        m_next = done + m_step;
        return m_progress->report(done, m_total);
    }
    // The work is whole: done reaches total.
    void end()
    {
        if (m_progress)
            m_progress->report(m_total, m_total);
    }

private:
    WorkProgress* m_progress;
    qint64 m_total;
    qint64 m_step;
    qint64 m_next;
};
