#pragma once

#include <QThreadPool>

#include <deque>
#include <functional>
#include <memory>

// Runs jobs on several threads and takes their results back on the calling
// thread in the order the jobs were added, as a run on one thread would. A
// job runs on a worker and returns what to do with its result; that runs on
// the thread that added the job, strictly in order. At most `ahead` jobs are
// out at a time (adding one more first takes the oldest back), so the memory
// a run holds does not grow with the number of jobs.
class OrderedJobs {
public:
    using Deliver = std::function<void()>;
    using Job = std::function<Deliver()>;

    // `threads` of 1 or less: every job runs and is taken back at once, here.
    OrderedJobs(int threads, int ahead);
    ~OrderedJobs();
    OrderedJobs(const OrderedJobs&) = delete;
    OrderedJobs& operator=(const OrderedJobs&) = delete;

    void add(Job job);
    // Takes back every job still out.
    void finish();

private:
    struct Pending;
    void deliverOldest();

    QThreadPool m_pool;
    std::deque<std::unique_ptr<Pending>> m_pending;
    int m_ahead = 1;
    bool m_here = true;
};
