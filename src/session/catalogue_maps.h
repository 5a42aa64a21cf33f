#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class IniFile;

// The maps of a category as the map chooser lists them: the values of keys
// "1" to n of the category's section of Main.Ini, n being its number of keys.
// A missing key gives an empty entry.
QStringList categoryMaps(const IniFile& mainIni, const QString& category);

// Every map of the catalogue in chooser order: the categories in file order,
// each with its maps. Empty entries are no maps and are left out.
struct CatalogueMap {
    QString category;
    QString name;
};
QList<CatalogueMap> catalogueMaps(const IniFile& mainIni);
