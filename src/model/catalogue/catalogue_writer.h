#pragma once

#include "model/catalogue/catalogue.h"
#include "model/catalogue/catalogue_files_change.h"
#include "model/catalogue/map_record.h"

#include <QString>

#include <optional>

// Everything a map's record says across the catalogue files: Main.Ini (its
// category), Maps.Ini, Critters.ini (the wild table) and Events.ini.
struct MapFields {
    QString name;
    QString category;
    qint64 start = 0;
    qint64 width = 0;
    qint64 height = 0;
    qint64 tileset = 1;
    qint64 wildOffset = 0; // 0: no wild table
    qint64 warpOffset = 0, warps = 0;
    qint64 singpostOffset = 0, singposts = 0;
    qint64 peopleOffset = 0, people = 0;
    QString comment;

    qint64 end() const { return start + width * height - 1; }
};

// A tileset's section of Tilesets.ini.
struct TilesetFields {
    qint64 number = 1;
    qint64 start = 0;
    qint64 blocks = 0;
    QString tiles; // the tile picture, relative to the catalogue folder
};

// The outcome of a catalogue write: a refusal (nothing written), or the
// files' text before and after, for the undo entry.
struct CatalogueWrite {
    QString refusal;
    CatalogueFilesChange change;
    bool ok() const { return refusal.isEmpty(); }
};

// Writes records into the catalogue files through the INI layer: every
// other line kept byte for byte, offsets in the form the file already uses,
// each file replaced atomically and its previous text kept as NAME.bak.
// A refusal writes nothing; a failed write puts back what was written.
class CatalogueWriter {
public:
    CatalogueWriter(const Catalogue& catalogue, qint64 romSize) : m_catalogue(catalogue), m_romSize(romSize) {}

    // The maps of a category, as the map chooser lists them.
    QStringList mapsOf(const QString& category) const;
    // The category a listed map belongs to, or an empty string.
    QString categoryOf(const QString& map) const;
    MapFields readMap(const QString& name) const;
    // The record a map pick would read once `map` is written (its tileset's
    // values from Tilesets.ini). Its numbers must have passed mapProblem().
    MapRecord recordOf(const MapFields& map) const;
    TilesetFields readTileset(qint64 number) const;

    // Empty when the record can be written, else why not. `isNew`: the name
    // must not be listed in a category yet.
    QString categoryProblem(const QString& name) const;
    QString mapProblem(const MapFields& map, bool isNew) const;
    QString tilesetProblem(const TilesetFields& tileset) const;

    CatalogueWrite addCategory(const QString& name) const;
    // A new map is added to the end of its category (made when missing).
    CatalogueWrite writeMap(const MapFields& map, bool isNew) const;
    CatalogueWrite writeTileset(const TilesetFields& tileset) const;
    // The map leaves its category's list in Main.Ini (the maps after it move
    // up a key); its records in the other files stay, so New Map can list it again.
    CatalogueWrite removeMap(const QString& name) const;

private:
    QString nameProblem(const QString& what, const QString& name) const;
    bool nameUsed(const QString& name) const;

    const Catalogue& m_catalogue;
    qint64 m_romSize = 0;
};
