#pragma once

#include "session/map_thumbnail.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <memory>

// Draws the thumbnails of a list of maps on a thread of its own, one job at
// a time, and hands them back in batches on the thread that owns this object.
// The names asked for last (the ones on screen) are drawn first.
class OverviewDrawing : public QObject {
    Q_OBJECT
public:
    explicit OverviewDrawing(QObject* parent = nullptr);
    // Stops the job and waits for its thread.
    ~OverviewDrawing() override;

    // Starts drawing `names` from a copy of `image`; a job still running
    // stops first and its late results are dropped. A name whose key in
    // `known` still matches comes back `unchanged`, without a picture.
    void start(const Catalogue& catalogue, const QByteArray& image, const QStringList& names,
               const QHash<QString, quint64>& known);
    // Draws these of the job's names before the others.
    void prefer(const QStringList& names);
    void stop();
    bool busy() const;
    // Blocks until the job has ended (tests and benchmarks).
    void waitForDone();

signals:
    void drawn(const QList<MapThumbnail>& thumbnails);
    void finished();

private:
    struct Job;
    void deliver(int generation, const QList<MapThumbnail>& thumbnails, bool last);

    QThreadPool m_pool;
    std::shared_ptr<Job> m_job;
    int m_generation = 0;
};
