#include "session/tiled_import.h"

#include "model/catalogue/catalogue.h"
#include "model/catalogue/map_record.h"
#include "model/events/event_tables.h"
#include "model/map/map_state.h"
#include "model/rom/rom_image.h"
#include "model/tiled/tiled_names.h"
#include "model/tiled/tmx_apply.h"
#include "model/tiled/tmx_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

// Far more than a TMX file of the largest map takes.
constexpr qint64 MaxTmxSize = 64 * 1024 * 1024;

QString applyFile(const Catalogue& catalogue, RomImage& rom, const QString& path, const QString& given,
                  QString* applied)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot open file %1").arg(path);
    if (file.size() > MaxTmxSize)
        return QStringLiteral("%1: the file is too large for a map.").arg(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Cannot read file %1: %2").arg(path, file.errorString());
    TmxMap tmx;
    QString problem;
    if (!readTmx(bytes, &tmx, &problem))
        return QStringLiteral("%1: %2").arg(path, problem);
    const QString name = given.isEmpty() ? tmx.property(QLatin1String(TiledMapProperty)) : given;
    if (name.isEmpty())
        return QStringLiteral("%1: the map has no property \"%2\" naming the map it is.")
            .arg(path, QLatin1String(TiledMapProperty));
    if (!catalogue.MapsIni.hasSection(name))
        return QStringLiteral("%1: map \"%2\" has no section in Maps.Ini.").arg(path, name);
    const MapRecord record = readMapRecord(catalogue, name);
    problem = mapRecordProblem(record, rom.size());
    if (!problem.isEmpty())
        return QStringLiteral("%1: %2").arg(path, problem);
    MapState map;
    if (!map.readMap(rom, record))
        return QStringLiteral("%1: the blocks of map \"%2\" cannot be read from the image.").arg(path, name);
    EventState events;
    const bool eventsRead = loadEventTables(catalogue.EventsIni, name, rom, events).isEmpty();
    problem = applyTmx(tmx, record, map, events);
    if (!problem.isEmpty())
        return QStringLiteral("%1: %2").arg(path, problem);
    map.writeMap(rom);
    if (eventsRead) {
        problem = saveEventTables(events, rom);
        if (!problem.isEmpty())
            return QStringLiteral("%1: %2").arg(path, problem);
    }
    *applied = name;
    return {};
}

} // namespace

QStringList tiledImportFiles(const QString& fileOrFolder, QString* error)
{
    const QFileInfo info(fileOrFolder);
    if (!info.exists()) {
        *error = QStringLiteral("Cannot open file %1").arg(fileOrFolder);
        return {};
    }
    if (!info.isDir())
        return {fileOrFolder};
    const QDir folder(fileOrFolder);
    QStringList files;
    for (const QString& name : folder.entryList({QStringLiteral("*.tmx")}, QDir::Files, QDir::Name))
        files << folder.filePath(name);
    if (files.isEmpty())
        *error = QStringLiteral("Folder %1 holds no .tmx file.").arg(fileOrFolder);
    return files;
}

TiledImport importTiled(const Catalogue& catalogue, const QByteArray& image, const QStringList& files,
                        const QString& map)
{
    TiledImport result;
    if (!map.isEmpty() && files.size() != 1) {
        result.refusal = QStringLiteral("A map name goes with one .tmx file, not %1.").arg(files.size());
        return result;
    }
    RomImage rom;
    rom.setBytes(image);
    QHash<QString, QString> fileOf;   // map -> the file applied to it
    for (const QString& path : files) {
        QString applied;
        const QString refusal = applyFile(catalogue, rom, path, map, &applied);
        if (refusal.isEmpty() && fileOf.contains(applied)) {
            result.refusal = QStringLiteral("%1 and %2 are both map \"%3\".").arg(fileOf.value(applied), path, applied);
            return result;
        }
        if (!refusal.isEmpty()) {
            result.refusal = refusal;
            return result;
        }
        fileOf.insert(applied, path);
        result.maps << applied;
    }
    result.image = rom.bytes();
    return result;
}
