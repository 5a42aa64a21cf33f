#pragma once

#include <QHash>
#include <QJSValue>
#include <QObject>

struct Catalogue;
class ScriptCatalogue;
class ScriptMap;
struct ScriptImage;

// Behind `map(name)`: a map is checked as the map pick checks it (a refused
// map throws the pick's message, a name that is no map throws) and kept for
// the run, so asking again gives the same object.
class ScriptMaps : public QObject {
    Q_OBJECT
public:
    ScriptMaps(const Catalogue& catalogue, ScriptCatalogue& lists, ScriptImage& image, QObject* parent = nullptr)
        : QObject(parent), m_catalogue(catalogue), m_lists(lists), m_image(image) {}

    Q_INVOKABLE QJSValue open(const QJSValue& name = {});

private:
    const Catalogue& m_catalogue;
    ScriptCatalogue& m_lists;
    ScriptImage& m_image;
    QHash<QString, ScriptMap*> m_open;
};
