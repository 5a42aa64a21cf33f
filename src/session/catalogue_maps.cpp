#include "session/catalogue_maps.h"

#include "base/ini_file.h"

QStringList categoryMaps(const IniFile& mainIni, const QString& category)
{
    // The maps are keys 1, 2, 3, ... as many as the category has keys.
    const qsizetype count = mainIni.keys(category).size();
    QStringList numbers;
    numbers.reserve(count);
    for (qsizetype k = 1; k <= count; ++k)
        numbers << QString::number(k);
    return mainIni.readStrings(category, numbers);
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
