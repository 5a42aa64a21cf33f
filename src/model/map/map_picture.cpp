#include "model/map/map_picture.h"

#include "model/map/map_renderer.h"

QImage composeMapPicture(const MapRecord& record, const MapState& map, const BlockPictures& pictures, bool grid)
{
    MapRenderer renderer(record, map, pictures);
    renderer.setGrid(grid);
    return renderer.picture();
}
