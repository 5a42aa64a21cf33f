#include "session/catalogue_check_job.h"

#include <QElapsedTimer>

namespace {
constexpr qint64 BatchMs = 50;
}

CatalogueCheckJob::CatalogueCheckJob(QObject* parent) : QObject(parent) {}

CatalogueCheckJob::~CatalogueCheckJob()
{
    cancel();
}

bool CatalogueCheckJob::start(const Catalogue& catalogue, const RomImage& rom)
{
    if (m_run.isRunning())
        return false;
    m_cancel = false;
    m_run.add([this, catalogue, rom, afterBatch = m_afterBatch](JobRunner::Job& job) -> JobRunner::Handover {
        QStringList batch;
        QElapsedTimer sinceBatch;
        sinceBatch.start();
        bool sent = false;
        const auto send = [&](int done, int total) {
            job.post([this, batch, done, total] { emit found(batch, done, total); });
            batch.clear();
            sinceBatch.start();
            sent = true;
            if (afterBatch)
                afterBatch();
        };
        CatalogueCheck::Steps steps;
        // A cancel ends the check early with what it found; the runner's
        // stop (the job destroyed) drops it.
        steps.stopped = [this, &job] { return m_cancel.load() || job.stopped(); };
        steps.mapChecked = [&](const QStringList& problems, int done, int total) {
            batch += problems;
            // The first problem goes at once, then a batch per interval.
            if (done == total || (!sent && !batch.isEmpty()) || sinceBatch.elapsed() >= BatchMs)
                send(done, total);
        };
        bool whole = false;
        const CatalogueReport report = CatalogueCheck(catalogue, rom).run(steps, &whole);
        return {[this, report, whole] { emit finished(report, whole); }};
    });
    return true;
}

void CatalogueCheckJob::cancel()
{
    m_cancel = true;
}
