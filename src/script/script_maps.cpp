#include "script/script_maps.h"

#include "script/script_catalogue.h"
#include "script/script_image.h"
#include "script/script_map.h"
#include "script/script_values.h"
#include "model/catalogue/catalogue.h"
#include "session/map_pick.h"

#include <QJSEngine>

QJSValue ScriptMaps::open(const QJSValue& name)
{
    QJSEngine* engine = qjsEngine(this);
    const QString text = name.toString();
    ScriptMap* map = m_open.value(text);
    if (!map) {
        if (name.isUndefined())
            return throwScriptError(engine, QStringLiteral("no map name given"));
        if (!name.isString())
            return throwScriptError(engine, QStringLiteral("map takes the name of a map, not %1").arg(text));
        QString problem;
        const std::optional<PreparedPick> pick =
            prepareMapPick(m_catalogue, m_image.rom, text, m_lists.listed(text), &problem);
        if (!pick)
            return throwScriptError(engine, problem.isEmpty() ? QStringLiteral("there is no map \"%1\"").arg(text)
                                                              : problem);
        map = new ScriptMap(pick->record, m_catalogue.EventsIni, m_image, this);
        QJSEngine::setObjectOwnership(map, QJSEngine::CppOwnership);
        m_open.insert(text, map);
    }
    return engine->newQObject(map);
}
