#include "model/tiled/tiled_events.h"

#include "model/events/event_records.h"

QString tiledEventType(quint8 kind)
{
    switch (kind) {
    case TEventData::Warp: return QStringLiteral("Warp");
    case TEventData::Singpost: return QStringLiteral("Signpost");
    case TEventData::People: return QStringLiteral("Person");
    default: return {};
    }
}

quint8 tiledEventKind(const QString& type)
{
    for (quint8 kind : {TEventData::Warp, TEventData::Singpost, TEventData::People})
        if (type == tiledEventType(kind))
            return kind;
    return TEventData::None;
}

const QList<TiledEventByte>& tiledEventBytes(quint8 kind)
{
    static const QList<TiledEventByte> warp{
        {2, QStringLiteral("Warp To")}, {4, QStringLiteral("Map")}, {3, QStringLiteral("Map Bank")}};
    static const QList<TiledEventByte> signpost{
        {3, QStringLiteral("Text Block")}, {4, QStringLiteral("Text Bank")}, {2, QStringLiteral("Hidden Item")}};
    static const QList<TiledEventByte> person{
        {0, QStringLiteral("Picture Number")}, {3, QStringLiteral("Facing")},
        {4, QStringLiteral("Movement")},       {7, QStringLiteral("Function")},
        {9, QStringLiteral("Text Block")},     {10, QStringLiteral("Text Bank")},
        {12, QStringLiteral("Hidden")},        {11, QStringLiteral("Shown/hidden when")},
        {5, QStringLiteral("Unknown1")},       {6, QStringLiteral("Unknown2")},
        {8, QStringLiteral("Unknown3")}};
    static const QList<TiledEventByte> none;
    switch (kind) {
    case TEventData::Warp: return warp;
    case TEventData::Singpost: return signpost;
    case TEventData::People: return person;
    default: return none;
    }
}
