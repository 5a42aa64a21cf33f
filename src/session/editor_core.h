#pragma once

#include "model/catalogue/catalogue.h"
#include "model/catalogue/map_record.h"
#include "model/rom/rom_backups.h"
#include "model/rom/rom_image.h"

#include <QString>

// The part of the shared editor state that every module reads: the ROM image,
// the file it came from, the catalogue handles and the current map record.
// The session owns it; windows read it through the session.
struct EditorCore {
    explicit EditorCore(const QString& programDirectory)
        : catalogue(programDirectory) {}

    RomImage rom;          // the image being edited, held in memory until a save
    QString RomFileName;   // empty until a ROM image has been loaded
    Catalogue catalogue;
    MapRecord map;         // the current map; map.isMap() is false before the first pick
    RomBackups romBackups; // which ROM files had their previous content kept in this run

    bool romLoaded() const { return !RomFileName.isEmpty(); }

    // Writes the image to `path`, keeping the previous file as NAME.bak at its
    // first save in this run; `backupKept` says whether that happened (the
    // caller shows RomBackups::keptMessage once). On failure `error` holds the
    // message and the file on disk is as it was.
    bool saveRom(const QString& path, QString* error, bool* backupKept = nullptr)
    {
        return rom.saveToFile(path, error, &romBackups, backupKept);
    }
};
