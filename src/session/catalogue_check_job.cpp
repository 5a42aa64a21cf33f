#include "session/catalogue_check_job.h"

#include <QElapsedTimer>
#include <QPointer>

namespace {
constexpr qint64 BatchMs = 50;
}

CatalogueCheckJob::CatalogueCheckJob(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

CatalogueCheckJob::~CatalogueCheckJob()
{
    cancel();
    m_pool.waitForDone();
}

bool CatalogueCheckJob::start(const Catalogue& catalogue, const RomImage& rom)
{
    if (m_running)
        return false;
    m_running = true;
    m_cancel = false;
    m_pool.start([this, catalogue, rom, afterBatch = m_afterBatch] {
        QStringList batch;
        QElapsedTimer sinceBatch;
        sinceBatch.start();
        bool sent = false;
        const auto send = [&](int done, int total) {
            QMetaObject::invokeMethod(this, [this, batch, done, total] { emit found(batch, done, total); },
                                      Qt::QueuedConnection);
            batch.clear();
            sinceBatch.start();
            sent = true;
            if (afterBatch)
                afterBatch();
        };
        CatalogueCheck::Steps steps;
        steps.stopped = [this] { return m_cancel.load(); };
        steps.mapChecked = [&](const QStringList& problems, int done, int total) {
            batch += problems;
            // The first problem goes at once, then a batch per interval.
            if (done == total || (!sent && !batch.isEmpty()) || sinceBatch.elapsed() >= BatchMs)
                send(done, total);
        };
        bool whole = false;
        const CatalogueReport report = CatalogueCheck(catalogue, rom).run(steps, &whole);
        QMetaObject::invokeMethod(this, [this, report, whole] {
            m_running = false;
            emit finished(report, whole);
        }, Qt::QueuedConnection);
    });
    return true;
}

void CatalogueCheckJob::cancel()
{
    m_cancel = true;
}
