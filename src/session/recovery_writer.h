#pragma once

#include "session/recovery_file.h"
#include "base/job_runner.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <mutex>
#include <optional>

// Makes and writes recovery files as a background job, so that the
// thread that hands over the snapshot goes on at once. Writes are done one
// at a time, in the order asked; a write asked for while another waits
// replaces it (only the newest matters). Each file is put in place whole, so
// a kill at any moment leaves the old file or the new one.
class RecoveryWriter : public QObject {
    Q_OBJECT
public:
    // What one write needs; the byte arrays are implicitly shared copies.
    struct Snapshot {
        QString path;
        QByteArray onDisk;
        QByteArray image;
        RecoveryInfo info;
        // When set, run first on the writer's thread: turns `image` (shared
        // with its owner, who may write into it meanwhile) into the image the
        // file holds. False: nothing is unsaved, and the file is removed
        // instead of written.
        std::function<bool(QByteArray& image)> complete;
    };

    explicit RecoveryWriter(QObject* parent = nullptr);
    // Finishes the write under way and any waiting one.
    ~RecoveryWriter() override;

    void write(Snapshot snapshot);
    // Drops the waiting write, waits for the one under way and only then
    // removes `path`: no write asked for earlier can bring the file back.
    void remove(const QString& path);
    // Returns once every write asked for so far is done.
    void settle();

signals:
    // A write failed, with the reason (on the writer's owner's thread).
    void failed(const QString& path, const QString& reason);

private:
    // Writes what waits until nothing does; one runs at a time.
    void drain(JobRunner::Job& job);

    std::mutex m_mutex;
    std::optional<Snapshot> m_waiting;
    bool m_busy = false;   // a drain is queued or running
    JobRunner m_run;
};
