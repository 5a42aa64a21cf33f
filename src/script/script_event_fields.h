#pragma once

#include "model/events/event_records.h"

#include <QJSValue>
#include <QList>
#include <QString>

#include <span>

class QJSEngine;

// The fields of an event record as a script names them: after the labels of
// the event dialogs, in camelCase, with the square as x and y. Each field is
// one byte of the record (a person's x and y as the working copy holds them,
// 4 less than the bytes in the image).
struct ScriptEventField {
    const char* name;
    int byte;
};

// The fields of warps, signposts or people (kind as in TEventData).
std::span<const ScriptEventField> scriptEventFields(quint8 kind);
// "warp", "signpost", "person".
QString scriptEventWord(quint8 kind);
// "warps", "signposts", "people".
QString scriptEventsWord(quint8 kind);

// The event's record as an object of its fields.
QJSValue scriptEventObject(QJSEngine* engine, const EventState& state, TEventData event);

// The new bytes of the record from `fields`: fields left out keep their
// value. A field that is not one of the kind's, or whose value is no whole
// number from 0 to 255, throws into the script and gives false (`bytes`
// is then untouched).
bool scriptEventBytes(QJSEngine* engine, const QJSValue& fields, quint8 kind, QList<int>* bytes);
