#include "session/catalogue_maps.h"

#include "base/ini_file.h"

QStringList categoryMaps(const IniFile& mainIni, const QString& category)
{
    const qsizetype count = mainIni.keys(category).size();
    QStringList maps;
    for (qsizetype k = 1; k <= count; ++k)
        maps << mainIni.readString(category, QString::number(k));
    return maps;
}

QList<CatalogueMap> catalogueMaps(const IniFile& mainIni)
{
    QList<CatalogueMap> maps;
    QStringList seen;
    for (const QString& category : mainIni.sections()) {
        // A repeated section header is the same category for the chooser's
        // lookup; it is listed once.
        if (seen.contains(category, Qt::CaseInsensitive))
            continue;
        seen << category;
        for (const QString& name : categoryMaps(mainIni, category))
            if (!name.isEmpty())
                maps.append({category, name});
    }
    return maps;
}
