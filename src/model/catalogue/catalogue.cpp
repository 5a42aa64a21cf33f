#include "model/catalogue/catalogue.h"

#include "base/file_lookup.h"

Catalogue::Catalogue(const QString& programDirectory)
    : programDir(programDirectory)
    , MainIni(catalogueFilePath(programDirectory, QStringLiteral("Main.Ini")))
    , MapsIni(catalogueFilePath(programDirectory, QStringLiteral("Maps.Ini")))
    , TilesetsIni(catalogueFilePath(programDirectory, QStringLiteral("Tilesets.ini")))
    , CrittersIni(catalogueFilePath(programDirectory, QStringLiteral("Critters.ini")))
    , EventsIni(catalogueFilePath(programDirectory, QStringLiteral("Events.ini")))
    , OptionsIni(catalogueFilePath(programDirectory, QStringLiteral("Options.ini")))
{
}

Catalogue Catalogue::pinned() const
{
    Catalogue copy(*this);
    for (IniFile* file : {&copy.MainIni, &copy.MapsIni, &copy.TilesetsIni, &copy.CrittersIni, &copy.EventsIni, &copy.OptionsIni})
        *file = file->pinned();
    return copy;
}

QString Catalogue::programFile(const QString& name) const
{
    return resolveCatalogueFile(catalogueFilePath(programDir, name));
}

namespace {
const QString SettingsSection = QStringLiteral("Settings");
const QString GridKey = QStringLiteral("Grid");
}

bool Catalogue::grid() const
{
    return CrittersIni.readBool(SettingsSection, GridKey, false);
}

bool Catalogue::setGrid(bool on, QString* error)
{
    return CrittersIni.writeBool(SettingsSection, GridKey, on, error);
}
