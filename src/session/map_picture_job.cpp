#include "session/map_picture_job.h"

#include "model/map/block_pictures.h"
#include "model/map/map_renderer.h"
#include "model/map/map_state.h"

MapPictureJob::MapPictureJob(QObject* parent) : QObject(parent) {}

bool MapPictureJob::start(const MapRecord& map, const MapState& bytes, const BlockPictures& pictures, bool grid,
                          const QString& path)
{
    return m_run.start([this, map, bytes, pictures, grid, path]() -> WorkerRun::Handover {
        MapRenderer renderer(map, bytes, pictures);
        renderer.setGrid(grid);
        QString error;
        renderer.writePicture(path, &error);
        return [this, path, error] { emit finished(path, error); };
    });
}
