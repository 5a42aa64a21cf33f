#include "session/overview_drawing.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <atomic>

// What the worker and the owner share: the names still to draw, under a lock,
// and the stop flag.
struct OverviewDrawing::Job {
    QMutex lock;
    QStringList pending;
    std::atomic<bool> stop{false};
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

OverviewDrawing::OverviewDrawing(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

OverviewDrawing::~OverviewDrawing()
{
    stop();
    m_pool.waitForDone();
}

void OverviewDrawing::stop()
{
    if (m_job)
        m_job->stop = true;
    m_job.reset();
}

bool OverviewDrawing::busy() const { return m_job && m_job->running; }

void OverviewDrawing::waitForDone() { m_pool.waitForDone(); }

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
    const int generation = ++m_generation;
    QPointer<OverviewDrawing> self(this);
    m_pool.start([job, generation, self, catalogue, image, known] {
        MapThumbnailDrawer drawer(catalogue, image);
        QList<MapThumbnail> batch;
        QElapsedTimer sinceSent;
        sinceSent.start();
        QString name;
        // Batches go out every 25 ms so that the window takes them in small steps.
        auto send = [&](bool last) {
            QMetaObject::invokeMethod(
                self.data(), [self, generation, batch, last] {
                    if (self)
                        self->deliver(generation, batch, last);
                },
                Qt::QueuedConnection);
            batch.clear();
            sinceSent.restart();
        };
        while (!job->stop && job->next(&name)) {
            batch << drawer.draw(name, known.value(name));
            if (sinceSent.elapsed() >= 25)
                send(false);
        }
        job->running = false;
        if (!job->stop)
            send(true);
    });
}

void OverviewDrawing::deliver(int generation, const QList<MapThumbnail>& thumbnails, bool last)
{
    if (generation != m_generation)
        return;   // a job stopped since
    if (!thumbnails.isEmpty())
        emit drawn(thumbnails);
    if (last)
        emit finished();
}
