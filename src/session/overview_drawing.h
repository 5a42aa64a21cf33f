#pragma once

#include "session/map_thumbnail.h"
#include "base/job_runner.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <memory>

// Draws the thumbnails of a list of maps as a background job, one at
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

    std::shared_ptr<Job> m_job;
    // A job stopped for a new one may still be ending: two may be out.
    JobRunner m_run{1, 2};
};
