#include "script/script_map.h"

#include "script/script_event_fields.h"
#include "script/script_image.h"
#include "script/script_values.h"
#include "base/ini_file.h"
#include "model/encounters/encounter_io.h"
#include "model/events/event_tables.h"
#include "session/map_pick.h"

#include <QJSEngine>

namespace {

// The levels and numbers the Wild Critters page lets a slot take.
constexpr int SlotMin = 1, SlotMax = 255;

const char* const TimeNames[TimesOfDay] = {"morning", "day", "night"};

} // namespace

ScriptMap::ScriptMap(const MapRecord& record, const IniFile& eventsIni, ScriptImage& image, QObject* parent)
    : QObject(parent), m_record(record), m_eventsIni(eventsIni), m_image(image)
{
}

qint32 ScriptMap::cell(const QJSValue& x, const QJSValue& y)
{
    QJSEngine* engine = qjsEngine(this);
    const std::optional<qint64> column = scriptInteger(engine, x, 0, m_record.MapWidth - 1, QStringLiteral("x"));
    if (!column)
        return -1;
    const std::optional<qint64> row = scriptInteger(engine, y, 0, m_record.MapHeight - 1, QStringLiteral("y"));
    if (!row)
        return -1;
    if (m_blocksAt != m_image.writes) {
        if (!m_blocks.readMap(m_image.rom, m_record)) {
            throwScriptError(engine, QStringLiteral("the blocks of map \"%1\" cannot be read").arg(m_record.name));
            return -1;
        }
        m_blocksAt = m_image.writes;
    }
    const qint32 at = qint32(*row * m_record.MapWidth + *column);
    if (!m_blocks.cellHasByte(at)) {
        throwScriptError(engine, QStringLiteral("block (%1, %2) of map \"%3\" lies past its %4 bytes")
                                     .arg(*column).arg(*row).arg(m_record.name).arg(m_blocks.loadedBytes));
        return -1;
    }
    return at;
}

QJSValue ScriptMap::block(const QJSValue& x, const QJSValue& y)
{
    const qint32 at = cell(x, y);
    if (at < 0)
        return {};
    return QJSValue(int(m_blocks.MapBytes[size_t(at)]));
}

QJSValue ScriptMap::setBlock(const QJSValue& x, const QJSValue& y, const QJSValue& value)
{
    const qint32 at = cell(x, y);
    if (at < 0)
        return {};
    QJSEngine* engine = qjsEngine(this);
    const std::optional<qint64> byte = scriptInteger(engine, value, 0, 255, QStringLiteral("block"));
    if (!byte)
        return {};
    const quint8 before = m_blocks.MapBytes[size_t(at)];
    m_blocks.paintCell(at, qint32(*byte));
    // The one byte of the map's range that writeMap would change: the cell
    // lies within the bytes read (cellHasByte), so it lies at loadedStart + cell.
    if (!m_image.rom.writeAt(qint64(m_blocks.loadedStart) + at, &m_blocks.MapBytes[size_t(at)], 1)) {
        m_blocks.paintCell(at, before);
        return throwScriptError(engine, QStringLiteral("the blocks of map \"%1\" cannot be written").arg(m_record.name));
    }
    m_image.wrote();
    m_blocksAt = m_image.writes;
    return {};
}

bool ScriptMap::wildSlot(const QJSValue& time, const QJSValue& slot, int* t, int* s)
{
    QJSEngine* engine = qjsEngine(this);
    *t = -1;
    for (int i = 0; i < TimesOfDay; ++i)
        if (time.isString() && time.toString() == QLatin1String(TimeNames[i]))
            *t = i;
    if (*t < 0 && time.isUndefined()) {
        throwScriptError(engine, QStringLiteral("no time given"));
        return false;
    }
    if (*t < 0) {
        throwScriptError(engine, QStringLiteral("time %1 is not \"morning\", \"day\" or \"night\"").arg(time.toString()));
        return false;
    }
    const std::optional<qint64> index = scriptInteger(engine, slot, 0, SlotsPerTime - 1, QStringLiteral("slot"));
    if (!index)
        return false;
    *s = int(*index);
    if (m_record.EncounterStart == 0) {
        throwScriptError(engine, QStringLiteral("map \"%1\" has no wild table").arg(m_record.name));
        return false;
    }
    if (m_wildAt != m_image.writes) {
        const std::optional<EncounterTables> read = readEncounterTables(m_image.rom, m_record.EncounterStart);
        if (!read) {
            throwScriptError(engine, encounterTableProblem(m_record, m_image.rom));
            return false;
        }
        m_wild = *read;
        m_wildAt = m_image.writes;
    }
    return true;
}

QJSValue ScriptMap::encounter(const QJSValue& time, const QJSValue& slot)
{
    int t = 0, s = 0;
    if (!wildSlot(time, slot, &t, &s))
        return {};
    const EncounterSlot value = m_wild.slotAt(t, s);
    QJSValue object = qjsEngine(this)->newObject();
    object.setProperty(QStringLiteral("level"), value.level);
    object.setProperty(QStringLiteral("number"), value.number);
    return object;
}

QJSValue ScriptMap::setEncounter(const QJSValue& time, const QJSValue& slot, const QJSValue& level,
                                 const QJSValue& number)
{
    int t = 0, s = 0;
    if (!wildSlot(time, slot, &t, &s))
        return {};
    QJSEngine* engine = qjsEngine(this);
    const std::optional<qint64> newLevel = scriptInteger(engine, level, SlotMin, SlotMax, QStringLiteral("level"));
    if (!newLevel)
        return {};
    const std::optional<qint64> newNumber = scriptInteger(engine, number, SlotMin, SlotMax, QStringLiteral("number"));
    if (!newNumber)
        return {};
    EncounterTables tables = m_wild;
    tables.setSlot(t, s, {qint32(*newLevel), qint32(*newNumber)});
    if (!writeEncounterTables(m_image.rom, m_record.EncounterStart, tables))
        return throwScriptError(engine, encounterTableProblem(m_record, m_image.rom));
    m_wild = tables;
    m_image.wrote();
    m_wildAt = m_image.writes;
    return {};
}

bool ScriptMap::freshEvents()
{
    if (m_eventsAt != m_image.writes) {
        m_eventsProblem = loadEventTables(m_eventsIni, m_record.name, m_image.rom, m_events);
        m_eventsAt = m_image.writes;
    }
    if (m_eventsProblem.isEmpty())
        return true;
    throwScriptError(qjsEngine(this), m_eventsProblem);
    return false;
}

QJSValue ScriptMap::events(quint8 kind)
{
    if (!freshEvents())
        return {};
    QJSEngine* engine = qjsEngine(this);
    const int count = eventCount(m_events, kind);
    QJSValue list = engine->newArray(quint32(count));
    for (int i = 1; i <= count; ++i)
        list.setProperty(quint32(i - 1), scriptEventObject(engine, m_events, TEventData{quint8(i), kind}));
    return list;
}

QJSValue ScriptMap::setEvent(quint8 kind, const QJSValue& index, const QJSValue& fields)
{
    if (!freshEvents())
        return {};
    QJSEngine* engine = qjsEngine(this);
    const int count = eventCount(m_events, kind);
    if (count == 0)
        return throwScriptError(engine, QStringLiteral("map \"%1\" has no %2").arg(m_record.name, scriptEventsWord(kind)));
    const std::optional<qint64> i = scriptInteger(engine, index, 1, count, scriptEventWord(kind));
    if (!i)
        return {};
    const TEventData event{quint8(*i), kind};
    QList<int> bytes;
    for (const ScriptEventField& field : scriptEventFields(kind)) {
        if (bytes.size() <= field.byte)
            bytes.resize(field.byte + 1);
        bytes[field.byte] = eventByte(m_events, event, field.byte);
    }
    if (!scriptEventBytes(engine, fields, kind, &bytes))
        return {};
    EventState changed = m_events;
    for (qsizetype b = 0; b < bytes.size(); ++b)
        setEventByte(changed, event, int(b), bytes[b]);
    const QString problem = saveEventTables(changed, m_image.rom);
    m_image.wrote();
    if (!problem.isEmpty()) {
        // The tables were inside the image when read and the image never
        // changes its size, so this is not reached; read them again if it is.
        m_eventsAt = Unread;
        return throwScriptError(engine, problem);
    }
    m_events = changed;
    m_eventsAt = m_image.writes;
    return {};
}

QJSValue ScriptMap::eventTables() const
{
    QJSEngine* engine = qjsEngine(this);
    if (!engine)
        return {};
    QJSValue tables = engine->newObject();
    auto table = [&](const char* name, const char* offsetKey, const char* countKey) {
        QJSValue t = engine->newObject();
        t.setProperty(QStringLiteral("offset"), m_eventsIni.readInteger(m_record.name, QLatin1String(offsetKey), 0));
        t.setProperty(QStringLiteral("count"), m_eventsIni.readInteger(m_record.name, QLatin1String(countKey), 0));
        tables.setProperty(QLatin1String(name), t);
    };
    table("warps", "Warp offset", "Warps");
    table("signposts", "Singpost offset", "Singposts");
    table("people", "People offset", "Peoples");
    return tables;
}
