#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class BlockPictures;
struct Catalogue;
struct EventState;
struct MapRecord;
struct MapState;
class RomImage;

// Maps written out for Tiled into one folder: a .tmx per map (named after it,
// made safe for any file system), the .tsx and .png of each tileset once, and
// a .world per category with its maps laid out together.
class TiledExport {
public:
    TiledExport(const Catalogue& catalogue, const RomImage& rom, const QString& folder);

    // The maps named (every map of Main.Ini when none is), each picked as the
    // map chooser picks it. `say` gets a "[i/n] map" line per map and what
    // the pick says about it, in order. False when a map could not be picked
    // or a file could not be written; the other maps are still written.
    bool exportMaps(const QStringList& names, const std::function<void(const QString&)>& say);

    // One map as the editor holds it (working copies with unsaved edits) with
    // its tileset's block pictures: its .tmx and its tileset's files. The
    // path of the .tmx, or an empty string with the reason in `error`.
    QString exportMap(const MapRecord& record, const MapState& map, const EventState& events,
                      const QString& category, const BlockPictures& pictures, QString* error);

private:
    bool writeTileset(const MapRecord& record, const BlockPictures& pictures, QString* error);
    // A .tmx name no other map of this export took (letter case aside).
    QString takeMapFile(const QString& name);

    const Catalogue& m_catalogue;
    const RomImage& m_rom;
    QString m_folder;
    QSet<int> m_tilesetsWritten;
    QSet<QString> m_taken;   // case-folded file names
};
