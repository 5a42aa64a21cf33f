#pragma once

#include "model/catalogue/map_record.h"
#include "model/map/tile_picture.h"

#include <QHash>
#include <QMutex>
#include <QStringList>
#include <optional>

struct Catalogue;
class RomImage;

// The part of a map pick that may refuse the map: the record read from the
// catalogue and checked against the stores and the image, and the tile
// picture loaded. Nothing of the editor changes here.
struct PreparedPick {
    MapRecord record;
    TilePicture picture;
};

// Tile pictures of a run over many maps (a check, the pictures of every map),
// each file loaded once: many maps share a tileset. Any thread may use it.
class TilePictureCache {
public:
    // The picture of `path`, or nothing when it cannot be loaded.
    std::optional<TilePicture> load(const QString& path);

private:
    QMutex m_lock;
    QHash<QString, std::optional<TilePicture>> m_pictures;
};

// `listed` says whether the name is an entry of the map chooser: a listed map
// without a Maps.Ini section is a catalogue fault, a name typed in part is
// simply no map (no result and an empty problem).
// With a cache, the tile picture comes from it.
std::optional<PreparedPick> prepareMapPick(const Catalogue& catalogue, const RomImage& rom, const QString& name,
                                           bool listed, QString* problem, TilePictureCache* pictures = nullptr);

// The warning of a map whose wild table does not lie inside the image, or an
// empty string when the table is readable or the map has none.
QString encounterTableProblem(const MapRecord& record, const RomImage& rom);

// Every message a pick of `name` would show, in its words: the refusal of the
// map, or what its events and wild table would say. Empty: the map is sound.
QStringList mapPickProblems(const Catalogue& catalogue, const RomImage& rom, const QString& name,
                            TilePictureCache* pictures = nullptr);
