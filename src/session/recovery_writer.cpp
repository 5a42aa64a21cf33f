#include "session/recovery_writer.h"

#include "base/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RecoveryWriter::RecoveryWriter(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

RecoveryWriter::~RecoveryWriter()
{
    m_pool.waitForDone();
}

void RecoveryWriter::write(Snapshot snapshot)
{
    const std::lock_guard lock(m_mutex);
    m_waiting = std::move(snapshot);
    if (!m_busy) {
        m_busy = true;
        m_pool.start([this] { drain(); });
    }
}

void RecoveryWriter::remove(const QString& path)
{
    std::unique_lock lock(m_mutex);
    m_waiting.reset();
    m_idle.wait(lock, [this] { return !m_busy; });
    // Still under the lock: nothing starts before the file is gone.
    QFile::remove(path);
}

void RecoveryWriter::settle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_waiting; });
}

void RecoveryWriter::drain()
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
            emit failed(snapshot.path, reason);

        lock.lock();
    }
    m_busy = false;
    m_idle.notify_all();
}
