#include "session/recovery_writer.h"

#include "base/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

RecoveryWriter::RecoveryWriter(QObject* parent) : QObject(parent) {}

// The runner finishes the write under way and any waiting one; failures
// not yet handed over are dropped.
RecoveryWriter::~RecoveryWriter() = default;

void RecoveryWriter::write(Snapshot snapshot)
{
    bool idle = false;
    {
        const std::lock_guard lock(m_mutex);
        m_waiting = std::move(snapshot);
        idle = !std::exchange(m_busy, true);
    }
    if (idle)
        m_run.add([this](JobRunner::Job& job) -> JobRunner::Handover {
            drain(job);
            return {};
        });
}

void RecoveryWriter::remove(const QString& path)
{
    {
        const std::lock_guard lock(m_mutex);
        m_waiting.reset();
    }
    // Writes are asked for on this thread only: none starts before the file
    // is gone.
    m_run.finish();
    QFile::remove(path);
}

void RecoveryWriter::settle()
{
    m_run.finish();
}

void RecoveryWriter::drain(JobRunner::Job& job)
{
    std::unique_lock lock(m_mutex);
    while (m_waiting) {
        Snapshot snapshot = std::move(*m_waiting);
        m_waiting.reset();
        lock.unlock();

        if (snapshot.complete && !snapshot.complete(snapshot.image)) {
            QFile::remove(snapshot.path);
            lock.lock();
            continue;
        }
        const QByteArray file = RecoveryFile::make(snapshot.onDisk, snapshot.image, snapshot.info);
        QString reason;
        const QString folder = QFileInfo(snapshot.path).absolutePath();
        bool written = QDir().mkpath(folder);
        if (!written)
            reason = QStringLiteral("cannot create folder %1").arg(QDir::toNativeSeparators(folder));
        else
            written = writeFileAtomically(snapshot.path, file, &reason);
        if (!written)
            job.post([this, path = snapshot.path, reason] { emit failed(path, reason); });

        lock.lock();
    }
    m_busy = false;
}
