#include "script/script_event_fields.h"

#include "script/script_values.h"
#include "model/events/event_tables.h"

#include <QJSEngine>
#include <QJSValueIterator>

#include <algorithm>

namespace {

// Warp dialog: Warp To, Map, Map Bank.
constexpr ScriptEventField WarpFields[] = {{"x", 1}, {"y", 0}, {"warpTo", 2}, {"map", 4}, {"mapBank", 3}};
// Signpost dialog: Text Block, Text Bank, Hidden Item.
constexpr ScriptEventField SignpostFields[] = {{"x", 1}, {"y", 0}, {"textBlock", 3}, {"textBank", 4},
                                               {"hiddenItem", 2}};
// People dialog: Picture Number, Facing, Movement, Function, Text Block,
// Text Bank, Hidden, "shown/hidden when/if" (when), Unknown1 to Unknown3.
constexpr ScriptEventField PersonFields[] = {
    {"x", 2},         {"y", 1},         {"pictureNumber", 0}, {"facing", 3},   {"movement", 4},
    {"function", 7},  {"textBlock", 9}, {"textBank", 10},     {"hidden", 12},  {"when", 11},
    {"unknown1", 5},  {"unknown2", 6},  {"unknown3", 8},
};

} // namespace

std::span<const ScriptEventField> scriptEventFields(quint8 kind)
{
    switch (kind) {
    case TEventData::Warp: return WarpFields;
    case TEventData::Singpost: return SignpostFields;
    case TEventData::People: return PersonFields;
    default: return {};
    }
}

QString scriptEventWord(quint8 kind)
{
    switch (kind) {
    case TEventData::Warp: return QStringLiteral("warp");
    case TEventData::Singpost: return QStringLiteral("signpost");
    default: return QStringLiteral("person");
    }
}

QString scriptEventsWord(quint8 kind)
{
    switch (kind) {
    case TEventData::Warp: return QStringLiteral("warps");
    case TEventData::Singpost: return QStringLiteral("signposts");
    default: return QStringLiteral("people");
    }
}

QJSValue scriptEventObject(QJSEngine* engine, const EventState& state, TEventData event)
{
    QJSValue object = engine->newObject();
    for (const ScriptEventField& field : scriptEventFields(event.Kind))
        object.setProperty(QLatin1String(field.name), eventByte(state, event, field.byte));
    return object;
}

bool scriptEventBytes(QJSEngine* engine, const QJSValue& fields, quint8 kind, QList<int>* bytes)
{
    const QString word = scriptEventWord(kind);
    if (!fields.isObject() || fields.isArray()) {
        throwScriptError(engine, QStringLiteral("the fields of a %1 are given as an object").arg(word));
        return false;
    }
    const std::span<const ScriptEventField> known = scriptEventFields(kind);
    QList<int> fresh = *bytes;
    QJSValueIterator it(fields);
    while (it.hasNext()) {
        it.next();
        const QString name = it.name();
        const auto field = std::find_if(known.begin(), known.end(),
                                        [&](const ScriptEventField& f) { return name == QLatin1String(f.name); });
        if (field == known.end()) {
            throwScriptError(engine, QStringLiteral("a %1 has no field %2").arg(word, name));
            return false;
        }
        const std::optional<qint64> value = scriptInteger(engine, it.value(), 0, 255, word + QLatin1Char(' ') + name);
        if (!value)
            return false;
        fresh[field->byte] = int(*value);
    }
    *bytes = fresh;
    return true;
}
