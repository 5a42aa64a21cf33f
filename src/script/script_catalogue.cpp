#include "script/script_catalogue.h"

#include "model/catalogue/catalogue.h"
#include "session/catalogue_maps.h"

#include <QJSEngine>
#include <QSet>

const QStringList& ScriptCatalogue::categoryList()
{
    if (!m_categories) {
        // Sections match without regard to case: the chooser's lookup of a
        // repeated header finds the first, so it is one category.
        QStringList names;
        for (const QString& section : m_catalogue.MainIni.sections())
            if (!names.contains(section, Qt::CaseInsensitive))
                names << section;
        m_categories = names;
    }
    return *m_categories;
}

const QStringList& ScriptCatalogue::mapList(const QString& category)
{
    auto it = m_maps.find(category);
    if (it == m_maps.end()) {
        QStringList names = categoryMaps(m_catalogue.MainIni, category);
        names.removeAll(QString());
        it = m_maps.insert(category, names);
    }
    return *it;
}

QJSValue ScriptCatalogue::categories()
{
    return qjsEngine(this)->toScriptValue(categoryList());
}

QJSValue ScriptCatalogue::maps(const QJSValue& category)
{
    return qjsEngine(this)->toScriptValue(mapList(category.toString()));
}

bool ScriptCatalogue::listed(const QString& name)
{
    if (!m_listed) {
        m_listed.emplace();
        for (const CatalogueMap& map : catalogueMaps(m_catalogue.MainIni))
            m_listed->insert(map.name);
    }
    return m_listed->contains(name);
}
