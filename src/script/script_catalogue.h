#pragma once

#include <QHash>
#include <QSet>
#include <QJSValue>
#include <QObject>
#include <QStringList>

#include <optional>

struct Catalogue;

// `catalogue` in a script: the categories of Main.Ini in file order (a
// repeated header listed once) and the maps of a category in the order of
// the map chooser, empty entries left out. Lists are read once per run.
class ScriptCatalogue : public QObject {
    Q_OBJECT
public:
    explicit ScriptCatalogue(const Catalogue& catalogue, QObject* parent = nullptr)
        : QObject(parent), m_catalogue(catalogue) {}

    Q_INVOKABLE QJSValue categories();
    Q_INVOKABLE QJSValue maps(const QJSValue& category = {});

    // Whether `name` is an entry of the map chooser, in any category.
    bool listed(const QString& name);

private:
    const QStringList& categoryList();
    const QStringList& mapList(const QString& category);

    const Catalogue& m_catalogue;
    std::optional<QStringList> m_categories;
    QHash<QString, QStringList> m_maps;
    std::optional<QSet<QString>> m_listed;
};
