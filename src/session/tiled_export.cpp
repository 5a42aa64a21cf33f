#include "session/tiled_export.h"

#include "base/safe_write.h"
#include "model/catalogue/catalogue.h"
#include "model/events/event_tables.h"
#include "model/map/block_pictures.h"
#include "model/map/map_state.h"
#include "model/map/picture_file.h"
#include "model/map/tileset_build.h"
#include "model/tiled/tiled_names.h"
#include "model/tiled/tiled_tileset.h"
#include "model/tiled/tiled_world.h"
#include "model/tiled/tmx_writer.h"
#include "session/catalogue_maps.h"
#include "session/map_pick.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <memory>

TiledExport::TiledExport(const Catalogue& catalogue, const RomImage& rom, const QString& folder)
    : m_catalogue(catalogue), m_rom(rom), m_folder(folder)
{
}

QString TiledExport::takeMapFile(const QString& name)
{
    QString base = tiledFileName(name);
    for (int n = 2; m_taken.contains(base.toCaseFolded()); ++n)
        base = QStringLiteral("%1 (%2)").arg(tiledFileName(name)).arg(n);
    m_taken.insert(base.toCaseFolded());
    return base + QStringLiteral(".tmx");
}

bool TiledExport::writeTileset(const MapRecord& record, const BlockPictures& pictures, QString* error)
{
    const int tileset = record.TilesetNumber;
    if (m_tilesetsWritten.contains(tileset))
        return true;
    const QDir folder(m_folder);
    const QString name = tiledTilesetName(tileset);
    const int tiles = tiledTileCount(record);
    if (!writePictureFile(folder.filePath(name + QStringLiteral(".png")), tiledTilesetImage(pictures, tileset, tiles),
                          error))
        return false;
    const QString tsx = folder.filePath(name + QStringLiteral(".tsx"));
    if (!writeFileAtomically(tsx, writeTsx(tileset, tiles))) {
        *error = QStringLiteral("Cannot create file %1").arg(tsx);
        return false;
    }
    m_tilesetsWritten.insert(tileset);
    return true;
}

QString TiledExport::exportMap(const MapRecord& record, const MapState& map, const EventState& events,
                               const QString& category, const BlockPictures& pictures, QString* error)
{
    if (!writeTileset(record, pictures, error))
        return {};
    const QString path = QDir(m_folder).filePath(takeMapFile(record.name));
    if (!writeFileAtomically(path, writeTmx({record, map, events, category}))) {
        *error = QStringLiteral("Cannot create file %1").arg(path);
        return {};
    }
    return path;
}

bool TiledExport::exportMaps(const QStringList& names, const std::function<void(const QString&)>& say)
{
    bool sound = true;
    const QList<CatalogueMap> listed = catalogueMaps(m_catalogue.MainIni);
    // The category of each map: the first that lists it.
    QHash<QString, QString> categories;
    for (const CatalogueMap& map : listed)
        if (!categories.contains(map.name))
            categories.insert(map.name, map.category);
    const QSet<QString> wanted(names.cbegin(), names.cend());
    QStringList maps;
    QSet<QString> taken;
    for (const CatalogueMap& map : listed)
        if (!taken.contains(map.name) && (wanted.isEmpty() || wanted.contains(map.name))) {
            taken.insert(map.name);
            maps << map.name;
        }
    for (const QString& name : names)
        if (!categories.contains(name)) {
            say(QStringLiteral("Map \"%1\" is not listed in Main.Ini.").arg(name));
            sound = false;
        }

    TilePictureCache tilePictures;
    auto pictures = std::make_unique<BlockPictures>();
    QHash<QString, QString> files;   // map -> its .tmx, for the worlds
    QHash<QString, QSize> sizes;
    for (qsizetype i = 0; i < maps.size(); ++i) {
        const QString& name = maps.at(i);
        say(QStringLiteral("[%1/%2] %3").arg(i + 1).arg(maps.size()).arg(name));
        QString problem;
        const std::optional<PreparedPick> pick =
            prepareMapPick(m_catalogue, m_rom, name, true, &problem, &tilePictures);
        if (!pick) {
            say(problem);
            sound = false;
            continue;
        }
        if (!pictures->built(pick->record.TilesetNumber))
            buildTileset(m_rom, pick->record, pick->picture, *pictures);
        MapState map;
        map.readMap(m_rom, pick->record);
        EventState events;
        const QString eventsProblem = loadEventTables(m_catalogue.EventsIni, name, m_rom, events);
        if (!eventsProblem.isEmpty())
            say(eventsProblem);
        QString error;
        const QString path = exportMap(pick->record, map, events, categories.value(name), *pictures, &error);
        if (path.isEmpty()) {
            say(error);
            sound = false;
            continue;
        }
        files.insert(name, QFileInfo(path).fileName());
        sizes.insert(name, QSize(pick->record.MapWidth, pick->record.MapHeight));
    }

    // One world per category, of its maps written here.
    QStringList categoryOrder;
    QHash<QString, QList<TiledWorldMap>> worlds;
    for (const CatalogueMap& map : listed) {
        if (!files.contains(map.name))
            continue;
        if (!worlds.contains(map.category))
            categoryOrder << map.category;
        const QSize size = sizes.value(map.name);
        worlds[map.category].append({files.value(map.name), size.width(), size.height()});
    }
    for (const QString& category : categoryOrder) {
        const QString path = QDir(m_folder).filePath(tiledFileName(category) + QStringLiteral(".world"));
        if (!writeFileAtomically(path, writeWorld(worlds.value(category)))) {
            say(QStringLiteral("Cannot create file %1").arg(path));
            sound = false;
        }
    }
    return sound;
}
