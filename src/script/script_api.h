#pragma once

#include "model/catalogue/catalogue.h"
#include "script/script_catalogue.h"
#include "script/script_image.h"
#include "script/script_maps.h"
#include "script/script_rom.h"
#include "script/script_tileset.h"

#include <QByteArray>
#include <QString>

class QJSEngine;

// What a script reaches of the image and the catalogue: `rom`, `catalogue`
// `map(name)` and `tileset(n)`, over a copy of the image held here for the run.
class ScriptApi {
public:
    ScriptApi(const QByteArray& image, const QString& catalogueDir);

    // Makes the API's names global in `engine`, which must not outlive this.
    void install(QJSEngine& engine);
    const QByteArray& image() const { return m_image.rom.bytes(); }

private:
    ScriptImage m_image;
    Catalogue m_catalogue;
    ScriptRom m_rom;
    ScriptCatalogue m_lists;
    ScriptMaps m_maps;
    ScriptTilesets m_tilesets;
};
