#pragma once

#include "model/catalogue/catalogue_writer.h"
#include "session/map_pick.h"
#include "session/map_thumbnail.h"

#include <QImage>

// The live preview of Map Properties: a record not yet written, put
// through the writer's checks and the map pick's own (the record against
// the stores and the image, the tile picture, the wild table), and drawn
// with its tileset when they pass.
struct MapPreview {
    QString refusal; // empty: the record can be written and picked
    QImage picture;
};

class MapPreviewDrawer {
public:
    MapPreviewDrawer(const Catalogue& catalogue, const RomImage& rom);

    MapPreview draw(const MapFields& map, bool isNew, int maxSide);
    // The same without the checks of the name and the tables: a stretch of
    // map data found in the image, drawn as a map.
    MapPreview drawFound(const MapFields& map, int maxSide);

private:
    MapPreview drawRecord(const MapRecord& record, int maxSide);

    const Catalogue& m_catalogue;
    const RomImage& m_rom;
    MapThumbnailDrawer m_drawer;
    TilePictureCache m_pictures;
};
