#pragma once

#include "model/catalogue/map_record.h"
#include "model/map/tile_picture.h"

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

// `listed` says whether the name is an entry of the map chooser: a listed map
// without a Maps.Ini section is a catalogue fault, a name typed in part is
// simply no map (no result and an empty problem).
std::optional<PreparedPick> prepareMapPick(const Catalogue& catalogue, const RomImage& rom, const QString& name,
                                           bool listed, QString* problem);

// The warning of a map whose wild table does not lie inside the image, or an
// empty string when the table is readable or the map has none.
QString encounterTableProblem(const MapRecord& record, const RomImage& rom);

// Every message a pick of `name` would show, in its words: the refusal of the
// map, or what its events and wild table would say. Empty: the map is sound.
QStringList mapPickProblems(const Catalogue& catalogue, const RomImage& rom, const QString& name);
