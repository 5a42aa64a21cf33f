#pragma once

#include <QObject>
#include <QThreadPool>
#include <functional>
#include <mutex>

// One piece of work at a time on a pool thread of its own. The work returns what
// is to be done with its result; that runs later on the thread the run
// belongs to, from its event loop, or at once from finish().
class WorkerRun : public QObject {
    Q_OBJECT
public:
    using Handover = std::function<void()>;
    using Work = std::function<Handover()>;

    explicit WorkerRun(QObject* parent = nullptr);
    // Waits for work under way; its result is dropped.
    ~WorkerRun() override;

    // False, and nothing started, while work runs or waits to be handed over.
    bool start(Work work);
    // From start() until the result has been handed over.
    bool isRunning() const { return m_running; }
    // Waits for the work under way and hands its result over now.
    void finish();
    // Waits for the work under way; its result still waits to be handed over.
    void wait() { m_pool.waitForDone(); }

private:
    void handOver();

    QThreadPool m_pool;   // one thread
    std::mutex m_lock;
    Handover m_result;   // set by the worker, taken on the owner's thread
    bool m_done = false;  // the worker has set m_result
    bool m_running = false;
};
