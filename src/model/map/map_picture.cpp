#include "model/map/map_picture.h"

#include "model/map/map_renderer.h"

bool writeMapPicture(const MapRecord& record, const MapState& map, const BlockPictures& pictures, bool grid,
                     const QString& path, QString* error, int threads)
{
    MapRenderer renderer(record, map, pictures);
    renderer.setGrid(grid);
    return renderer.writePicture(path, error, threads);
}
