#include "session/map_picture_job.h"

#include "model/map/block_pictures.h"
#include "model/map/map_renderer.h"
#include "model/map/map_state.h"

#include <QThreadPool>

MapPictureJob::MapPictureJob(QObject* parent) : QObject(parent) {}

bool MapPictureJob::start(const MapRecord& map, const MapState& bytes, const BlockPictures& pictures, bool grid,
                          const QString& path)
{
    if (m_run.isRunning())
        return false;
    m_progress.restart();
    return m_run.start([this, map, bytes, pictures, grid, path]() -> WorkerRun::Handover {
        MapRenderer renderer(map, bytes, pictures);
        renderer.setGrid(grid);
        QString error;
        const bool written = renderer.writePicture(path, &error, QThreadPool::globalInstance(), &m_progress);
        // Once the file is whole a late stop cannot take it back.
        const bool stopped = !written && m_progress.stopped();
        if (stopped)
            error.clear();
        return [this, path, error, stopped] { emit finished(path, error, stopped); };
    });
}
