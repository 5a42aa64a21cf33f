#pragma once

#include "model/catalogue/catalogue_writer.h"

#include <QString>

#include <optional>

class RomImage;

// Tiles from ROM: the tileset's tile picture drawn from the cartridge's own
// tiles and written over the file Tilesets.ini names (a tileset that names
// none gets "tiles/Tileset N.bmp", written into Tilesets.ini). The picture
// file and Tilesets.ini are one change, for one undo entry.
struct TilesFromRom {
    qint64 tileset = 1;
    qint64 offset = 0;
    std::optional<qint64> palette; // nothing: four greys
};

// The picture's file name as Tilesets.ini gives it, or the one a tileset without it gets.
QString tilePictureName(const Catalogue& catalogue, qint64 tileset);

CatalogueWrite saveTilesFromRom(const Catalogue& catalogue, const RomImage& rom, const TilesFromRom& tiles);
