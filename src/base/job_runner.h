#pragma once

#include "base/work_progress.h"

#include <QObject>
#include <QThreadPool>

#include <deque>
#include <functional>
#include <memory>

struct JobSlot;

// Runs background work on Qt's pool and hands what it makes back to the
// thread that owns the runner. A job runs on a worker; what it posts on the
// way (batches of lines, pictures, log lines) and the hand-over it returns
// run on the owner's thread, strictly in the order the jobs were added and
// the posts made: from the owner's event loop, or at once from finish().
// Each job carries a WorkProgress (its figures and its stop flag); the flag
// is read on the owner's thread right before each post and the hand-over
// run, so the result of a job stopped by then is never applied: `dropped`
// runs in its place. At most `ahead` jobs are out at a time (adding one more
// first takes the oldest back), and destroying the runner stops every job,
// waits for it and drops what it made.
class JobRunner : public QObject {
    Q_OBJECT
public:
    struct Handover {
        std::function<void()> apply = {};     // not stopped: the result is taken
        std::function<void()> dropped = {};   // stopped: runs instead of `apply`
    };

    // The worker's side of one job.
    class Job {
    public:
        // Runs `partial` on the owner's thread, after the posts before it.
        // Waits while `MaxPosts` of this job wait there, until the job stops
        // or `endWait` is true.
        void post(std::function<void()> partial, const std::function<bool()>& endWait = {});
        bool stopped() const { return progress().stopped(); }
        WorkProgress& progress() const;

    private:
        friend class JobRunner;
        friend struct ::JobSlot;
        explicit Job(JobSlot& slot) : m_slot(slot) {}
        JobSlot& m_slot;
    };
    using Work = std::function<Handover(Job& job)>;

    static constexpr qsizetype MaxPosts = 1000;

    // `threads` of 0: each job runs and is handed over at once, in add().
    explicit JobRunner(int threads = 1, int ahead = 1, QObject* parent = nullptr);
    ~JobRunner() override;

    // `progress`, when given, must outlive the job's hand-over; without it
    // the job has one of its own.
    void add(Work work, WorkProgress* progress = nullptr);
    // From add() until the job's hand-over has begun.
    bool isRunning() const { return !m_slots.empty(); }
    // Asks every job out to stop.
    void stopAll();
    // Waits for every job out and hands it over now, in order.
    void finish();
    // Waits for the workers; what they made still waits for the event loop.
    void wait() { m_pool.waitForDone(); }

private:
    friend struct JobSlot;
    // Runs the oldest job's posts that are ready; true when it has ended and
    // may be handed over.
    bool deliverPosts(JobSlot& slot);
    void handOver(JobSlot& job);
    void deliverReady();
    void takeBackOldest();
    void wake();

    QThreadPool m_pool;
    std::deque<std::shared_ptr<JobSlot>> m_slots;
    int m_ahead = 1;
    bool m_here = false;
    std::atomic<bool> m_wakePosted = false;
};
