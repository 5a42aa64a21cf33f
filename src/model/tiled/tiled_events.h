#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// How an event record looks as a Tiled object: its kind is the object's type,
// its square the object's place, and every other byte of the record an
// integer property named after the byte's field in the event dialogs.
struct TiledEventByte {
    int byte;        // index in the record
    QString label;   // the property's name
};

// "Warp", "Signpost", "Person"; empty for no kind.
QString tiledEventType(quint8 kind);
// The kind of an object type, TEventData::None for any other.
quint8 tiledEventKind(const QString& type);
// The record bytes that travel as properties, in dialog order.
const QList<TiledEventByte>& tiledEventBytes(quint8 kind);
