#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/map_record.h"
#include "catalogue/rom_image.h"

#include <QString>

// The part of the shared editor state that every module reads: the ROM image,
// the file it came from, the catalogue handles and the current map record.
// Windows read and write these members directly.
struct EditorCore {
    explicit EditorCore(const QString& programDirectory)
        : catalogue(programDirectory) {}

    RomImage rom;          // RomImage
    QString RomFileName;   // empty until a ROM image has been loaded
    Catalogue catalogue;
    MapRecord map;         // the current map; map.isMap() is false before the first pick

    bool romLoaded() const { return !RomFileName.isEmpty(); }
};
