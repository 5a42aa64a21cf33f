#include "model/tiled/tmx_apply.h"

#include "model/catalogue/map_record.h"
#include "model/events/event_tables.h"
#include "model/map/map_state.h"
#include "model/tiled/tiled_events.h"
#include "model/tiled/tiled_names.h"
#include "model/tiled/tiled_tileset.h"
#include "model/tiled/tmx_document.h"

#include <QFileInfo>
#include <QSet>

#include <cmath>
#include <limits>

namespace {

constexpr quint32 FlagBits = 0xF0000000u;

// The range [first, end) of the map's own tileset's ids; false when the map
// does not use the .tsx of the record's tileset number.
bool ownTileset(const TmxMap& tmx, const MapRecord& record, qint64* first, qint64* end)
{
    const QString file = tiledTilesetName(record.TilesetNumber) + QStringLiteral(".tsx");
    *first = -1;
    for (const TmxTilesetRef& tileset : tmx.tilesets)
        if (QFileInfo(tileset.source).fileName() == file)
            *first = tileset.firstGid;
    if (*first < 1)
        return false;
    *end = std::numeric_limits<qint64>::max();
    for (const TmxTilesetRef& tileset : tmx.tilesets)
        if (tileset.firstGid > *first)
            *end = qMin(*end, tileset.firstGid);
    return true;
}

QString applyCells(const TmxMap& tmx, const MapRecord& record, MapState& map)
{
    qint64 first = 0, end = 0;
    if (!ownTileset(tmx, record, &first, &end))
        return QStringLiteral("The map does not use the tileset %1.tsx of tileset %2.")
            .arg(tiledTilesetName(record.TilesetNumber))
            .arg(record.TilesetNumber);
    const int tiles = tiledTileCount(record);
    MapState changed = map;
    for (qint32 cell = 0; cell < qint32(tmx.cells.size()); ++cell) {
        const quint32 gid = tmx.cells[size_t(cell)];
        const QString where = QStringLiteral("Cell (%1, %2)").arg(cell % record.MapWidth).arg(cell / record.MapWidth);
        if (gid & FlagBits)
            return where + QStringLiteral(" holds a flipped or rotated tile.");
        if (gid == 0)
            return where + QStringLiteral(" is empty.");
        if (gid < first || gid >= end)
            return where + QStringLiteral(" holds a tile of another tileset.");
        const qint64 block = qint64(gid) - first;
        const bool hasByte = map.cellHasByte(cell);
        const bool kept = hasByte ? block == map.MapBytes[size_t(cell)] : block == 0;
        if (kept)
            continue;
        if (!hasByte)
            return where + QStringLiteral(" lies past the map's bytes and stays block 0.");
        if (block >= tiles)
            return where + QStringLiteral(" holds block %1; tileset %2 has blocks 0 to %3.")
                               .arg(block)
                               .arg(record.TilesetNumber)
                               .arg(tiles - 1);
        changed.paintCell(cell, qint32(block));
    }
    map = changed;
    return {};
}

QString eventName(quint8 kind, const QString& name)
{
    return QStringLiteral("%1 \"%2\"").arg(tiledEventType(kind), name);
}

// The square of an object: the one under its middle.
bool objectSquare(double at, double size, int* square)
{
    const double middle = std::floor((at + size / 2) / TiledTilePixels);
    if (!(middle >= 0 && middle <= 255))
        return false;
    *square = int(middle);
    return true;
}

QString applyObject(const TmxObject& object, quint8 kind, int count, QSet<int>& seen, EventState& events)
{
    bool number = false;
    const int index = object.name.toInt(&number);
    if (!number || index < 1 || index > count)
        return QStringLiteral("%1 is named for no record: the map's %2s are 1 to %3.")
            .arg(eventName(kind, object.name), tiledEventType(kind))
            .arg(count);
    if (seen.contains(index))
        return QStringLiteral("%1 comes twice.").arg(eventName(kind, object.name));
    seen.insert(index);
    const TEventData event{quint8(index), kind};
    int x = 0, y = 0;
    if (!objectSquare(object.x, object.width, &x) || !objectSquare(object.y, object.height, &y))
        return QStringLiteral("%1 lies at (%2, %3), outside squares 0 to 255.")
            .arg(eventName(kind, object.name))
            .arg(object.x)
            .arg(object.y);
    moveEvent(events, event, x, y);
    for (const TmxProperty& property : object.properties)
        for (const TiledEventByte& byte : tiledEventBytes(kind)) {
            if (property.name != byte.label)
                continue;
            bool integer = false;
            const qint64 value = property.value.toLongLong(&integer);
            if (!integer || value < 0 || value > 255)
                return QStringLiteral("%1 has %2 \"%3\"; a byte holds 0 to 255.")
                    .arg(eventName(kind, object.name), byte.label, property.value);
            setEventByte(events, event, byte.byte, int(value));
        }
    return {};
}

QString applyEvents(const TmxMap& tmx, EventState& events)
{
    EventState changed = events;
    const quint8 kinds[] = {TEventData::Warp, TEventData::Singpost, TEventData::People};
    for (quint8 kind : kinds) {
        qsizetype objects = 0;
        for (const TmxObject& object : tmx.events)
            objects += tiledEventKind(object.type) == kind ? 1 : 0;
        if (objects != eventCount(events, kind))
            return QStringLiteral("The layer \"%1\" holds %2 %3 objects; the map has %4 (the event builder "
                                  "changes the counts).")
                .arg(QLatin1String(TiledEventsLayer))
                .arg(objects)
                .arg(tiledEventType(kind))
                .arg(eventCount(events, kind));
    }
    QSet<int> seen[3];
    for (const TmxObject& object : tmx.events) {
        const quint8 kind = tiledEventKind(object.type);
        if (kind == TEventData::None)
            return QStringLiteral("Object \"%1\" of the layer \"%2\" has the type \"%3\", "
                                  "not Warp, Signpost or Person.")
                .arg(object.name, QLatin1String(TiledEventsLayer), object.type);
        const QString refusal = applyObject(object, kind, eventCount(events, kind), seen[kind], changed);
        if (!refusal.isEmpty())
            return refusal;
    }
    events = changed;
    return {};
}

} // namespace

QString applyTmx(const TmxMap& tmx, const MapRecord& record, MapState& map, EventState& events)
{
    if (tmx.width != record.MapWidth || tmx.height != record.MapHeight)
        return QStringLiteral("The map is %1 x %2 blocks; %3 is %4 x %5.")
            .arg(tmx.width)
            .arg(tmx.height)
            .arg(record.name)
            .arg(record.MapWidth)
            .arg(record.MapHeight);
    const QString start = tmx.property(QLatin1String(TiledStartProperty));
    if (!start.isNull() && start.toLongLong() != record.MapStart)
        return QStringLiteral("The map was written for start offset %1; %2 starts at %3.")
            .arg(start, record.name)
            .arg(record.MapStart);
    MapState bytes = map;
    EventState changed = events;
    QString refusal = applyCells(tmx, record, bytes);
    if (refusal.isEmpty())
        refusal = applyEvents(tmx, changed);
    if (!refusal.isEmpty())
        return refusal;
    map = bytes;
    events = changed;
    return {};
}
