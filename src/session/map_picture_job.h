#pragma once

#include "base/job_runner.h"
#include "base/work_progress.h"

#include <QObject>
#include <QString>

class BlockPictures;
struct MapRecord;
struct MapState;

// Save Map Picture drawn and written on a thread of its own from copies of
// the map, its bytes and the block pictures (the pictures share their pixels
// until either side changes one), with a renderer of its own, so that the
// window stays free and an edit meanwhile does not reach the file. It is
// written beside the file and put in place when its end is handed over: a
// picture stopped until then leaves no file (an old one of that name as it
// was) and no temporary file.
class MapPictureJob : public QObject {
    Q_OBJECT
public:
    explicit MapPictureJob(QObject* parent = nullptr);

    // False, and nothing started, while a picture is being written.
    bool start(const MapRecord& map, const MapState& bytes, const BlockPictures& pictures, bool grid,
               const QString& path);
    bool isRunning() const { return m_run.isRunning(); }
    // Waits for a picture under way; `finished` is emitted before it returns.
    void finish() { m_run.finish(); }
    // Any time until `finished`: the picture under way stops before its
    // next band, or a whole one is not put in place.
    void cancel() { m_progress.stop(); }
    // Waits for the worker; its end still waits for the event loop.
    void waitForWorker() { m_run.wait(); }
    // The rows written so far, of all.
    const WorkProgress& progress() const { return m_progress; }
    WorkProgress& progress() { return m_progress; }

signals:
    // An empty error: written. Stopped: cancelled before the file was put in
    // place, nothing written, and no error.
    void finished(const QString& path, const QString& error, bool stopped);

private:
    // `part`: the whole picture written beside `path`; empty when it was not.
    void handOver(const QString& path, const QString& part);
    void dropped(const QString& path, const QString& part);

    WorkProgress m_progress;   // outlives the worker: m_run joins first
    JobRunner m_run;
};
