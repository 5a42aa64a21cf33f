#include "session/overview_drawing.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <atomic>

// What the worker and the owner share: the names still to draw, under a lock,
// and the stop flag.
struct OverviewDrawing::Job {
    QMutex lock;
    QStringList pending;
    WorkProgress progress;
    std::atomic<bool> running{true};

    bool next(QString* name)
    {
        const QMutexLocker locker(&lock);
        if (pending.isEmpty())
            return false;
        *name = pending.takeFirst();
        return true;
    }
};

OverviewDrawing::OverviewDrawing(QObject* parent) : QObject(parent) {}

OverviewDrawing::~OverviewDrawing()
{
    stop();
}

void OverviewDrawing::stop()
{
    if (m_job)
        m_job->progress.stop();
    m_job.reset();
}

bool OverviewDrawing::busy() const { return m_job && m_job->running; }

void OverviewDrawing::waitForDone() { m_run.wait(); }

void OverviewDrawing::prefer(const QStringList& names)
{
    if (!m_job)
        return;
    const QMutexLocker locker(&m_job->lock);
    QStringList& pending = m_job->pending;
    QStringList first;
    for (const QString& name : names) {
        if (pending.removeAll(name) > 0)
            first << name;
    }
    pending = first + pending;
}

void OverviewDrawing::start(const Catalogue& catalogue, const QByteArray& image, const QStringList& names,
                            const QHash<QString, quint64>& known)
{
    stop();
    auto job = std::make_shared<Job>();
    job->pending = names;
    m_job = job;
    // A stopped job's late batches are dropped by the runner.
    m_run.add([this, job, catalogue, image, known](JobRunner::Job& run) -> JobRunner::Handover {
        MapThumbnailDrawer drawer(catalogue, image);
        QList<MapThumbnail> batch;
        QElapsedTimer sinceSent;
        sinceSent.start();
        QString name;
        // Batches go out every 25 ms so that the window takes them in small steps.
        while (!run.stopped() && job->next(&name)) {
            batch << drawer.draw(name, known.value(name));
            if (sinceSent.elapsed() >= 25) {
                run.post([this, batch] { emit drawn(batch); });
                batch.clear();
                sinceSent.restart();
            }
        }
        job->running = false;
        return {[this, batch] {
            if (!batch.isEmpty())
                emit drawn(batch);
            emit finished();
        }};
    }, &job->progress);
}
