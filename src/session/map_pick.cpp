#include "session/map_pick.h"

#include "model/catalogue/catalogue.h"
#include "model/rom/rom_image.h"
#include "model/encounters/encounter_io.h"
#include "model/events/event_tables.h"

std::optional<TilePicture> TilePictureCache::load(const QString& path)
{
    {
        const QMutexLocker lock(&m_lock);
        const auto known = m_pictures.constFind(path);
        if (known != m_pictures.cend())
            return *known;
    }
    // Loaded outside the lock; two threads may both load a new file, once each.
    std::optional<TilePicture> picture(std::in_place);
    if (!picture->load(path))
        picture.reset();
    const QMutexLocker lock(&m_lock);
    m_pictures.insert(path, picture);
    return picture;
}

std::optional<PreparedPick> prepareMapPick(const Catalogue& catalogue, const RomImage& rom, const QString& name,
                                           bool listed, QString* problem, TilePictureCache* pictures)
{
    problem->clear();
    if (name.isEmpty())
        return std::nullopt;
    if (!catalogue.MapsIni.hasSection(name)) {
        if (listed)
            *problem = QStringLiteral("Map \"%1\" has no section in Maps.Ini.").arg(name);
        return std::nullopt;
    }
    PreparedPick pick;
    pick.record = readMapRecord(catalogue, name);
    *problem = mapRecordProblem(pick.record, rom.size());
    if (!problem->isEmpty())
        return std::nullopt;
    const QString tilesPath = catalogue.programFile(pick.record.tiles);
    std::optional<TilePicture> picture;
    if (!pick.record.tiles.trimmed().isEmpty()) {
        if (pictures)
            picture = pictures->load(tilesPath);
        else if (pick.picture.load(tilesPath))
            picture = pick.picture;
    }
    if (!picture) {
        *problem = QStringLiteral("Cannot open file %1").arg(tilesPath);
        return std::nullopt;
    }
    pick.picture = *picture;
    return pick;
}

QString encounterTableProblem(const MapRecord& record, const RomImage& rom)
{
    if (record.EncounterStart == 0 || encounterTableInside(rom, record.EncounterStart))
        return QString();
    return QStringLiteral("The wild Critter table of map \"%1\" at %2 lies outside the ROM image.")
        .arg(record.name, QString::number(quint32(record.EncounterStart), 16).toUpper());
}

QStringList mapPickProblems(const Catalogue& catalogue, const RomImage& rom, const QString& name,
                            TilePictureCache* pictures)
{
    QString problem;
    const std::optional<PreparedPick> pick = prepareMapPick(catalogue, rom, name, true, &problem, pictures);
    if (!pick)
        return {problem.isEmpty() ? QStringLiteral("Map \"%1\" has no section in Maps.Ini.").arg(name) : problem};
    QStringList problems;
    EventState events;
    const QString eventsProblem = loadEventTables(catalogue.EventsIni, name, rom, events);
    if (!eventsProblem.isEmpty())
        problems << eventsProblem;
    const QString wild = encounterTableProblem(pick->record, rom);
    if (!wild.isEmpty())
        problems << wild;
    return problems;
}
