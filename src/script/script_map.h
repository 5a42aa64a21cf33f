#pragma once

#include "model/catalogue/map_record.h"
#include "model/encounters/encounter_tables.h"
#include "model/events/event_records.h"
#include "model/map/map_state.h"

#include <QJSValue>
#include <QObject>

class IniFile;
struct ScriptImage;

// `map(name)` in a script: one map's record and its working copies (blocks,
// events, wild table), read from the script's image by the model's readers
// and written back by its writers at once. Each copy is read when first used
// and again whenever the image has been written since.
class ScriptMap : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(int width READ width CONSTANT)
    Q_PROPERTY(int height READ height CONSTANT)
    Q_PROPERTY(int tileset READ tileset CONSTANT)
    Q_PROPERTY(bool hasWildTable READ hasWildTable CONSTANT)
    Q_PROPERTY(double start READ start CONSTANT)
    Q_PROPERTY(double end READ end CONSTANT)
    Q_PROPERTY(double tilesetStart READ tilesetStart CONSTANT)
    Q_PROPERTY(int tilesetBlocks READ tilesetBlocks CONSTANT)
    Q_PROPERTY(double wildOffset READ wildOffset CONSTANT)
    Q_PROPERTY(QString comment READ comment CONSTANT)
    Q_PROPERTY(QJSValue eventTables READ eventTables CONSTANT)
    Q_PROPERTY(QJSValue warps READ warps)
    Q_PROPERTY(QJSValue signposts READ signposts)
    Q_PROPERTY(QJSValue people READ people)
public:
    // `record` has passed the map pick's checks against `image`.
    ScriptMap(const MapRecord& record, const IniFile& eventsIni, ScriptImage& image, QObject* parent = nullptr);

    QString name() const { return m_record.name; }
    int width() const { return m_record.MapWidth; }
    int height() const { return m_record.MapHeight; }
    int tileset() const { return m_record.TilesetNumber; }
    // Critters.ini names a wild table for the map (it may still lie outside the image).
    bool hasWildTable() const { return m_record.EncounterStart != 0; }
    // The record's offsets as the catalogue gives them (numbers, not checked against the image).
    double start() const { return m_record.MapStart; }
    double end() const { return m_record.MapEnd; }
    double tilesetStart() const { return m_record.TilesetStart; }
    int tilesetBlocks() const { return m_record.TilesetBlocks; }
    double wildOffset() const { return m_record.EncounterStart; }
    QString comment() const { return m_record.comment; }
    // {warps: {offset, count}, signposts: ..., people: ...} as Events.ini gives them.
    QJSValue eventTables() const;

    Q_INVOKABLE QJSValue block(const QJSValue& x = {}, const QJSValue& y = {});
    Q_INVOKABLE QJSValue setBlock(const QJSValue& x = {}, const QJSValue& y = {}, const QJSValue& value = {});

    Q_INVOKABLE QJSValue encounter(const QJSValue& time = {}, const QJSValue& slot = {});
    Q_INVOKABLE QJSValue setEncounter(const QJSValue& time = {}, const QJSValue& slot = {}, const QJSValue& level = {},
                                      const QJSValue& number = {});

    QJSValue warps() { return events(TEventData::Warp); }
    QJSValue signposts() { return events(TEventData::Singpost); }
    QJSValue people() { return events(TEventData::People); }
    Q_INVOKABLE QJSValue setWarp(const QJSValue& index = {}, const QJSValue& fields = {})
    {
        return setEvent(TEventData::Warp, index, fields);
    }
    Q_INVOKABLE QJSValue setSignpost(const QJSValue& index = {}, const QJSValue& fields = {})
    {
        return setEvent(TEventData::Singpost, index, fields);
    }
    Q_INVOKABLE QJSValue setPerson(const QJSValue& index = {}, const QJSValue& fields = {})
    {
        return setEvent(TEventData::People, index, fields);
    }

private:
    // The cell of (x, y), or -1 after an error was thrown.
    qint32 cell(const QJSValue& x, const QJSValue& y);
    // The wild table's slot (time, slot), read afresh when needed; false after an error was thrown.
    bool wildSlot(const QJSValue& time, const QJSValue& slot, int* t, int* s);
    // The event tables read afresh when needed; false after an error was thrown.
    bool freshEvents();
    QJSValue events(quint8 kind);
    QJSValue setEvent(quint8 kind, const QJSValue& index, const QJSValue& fields);

    MapRecord m_record;
    const IniFile& m_eventsIni;
    ScriptImage& m_image;

    // Each copy remembers the image's write count it was read at.
    static constexpr quint64 Unread = ~quint64(0);
    MapState m_blocks;
    quint64 m_blocksAt = Unread;
    EventState m_events;
    QString m_eventsProblem;
    quint64 m_eventsAt = Unread;
    EncounterTables m_wild;
    quint64 m_wildAt = Unread;
};
