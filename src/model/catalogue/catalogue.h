#pragma once

#include "base/ini_file.h"

#include <QString>

// The catalogue handles, one per file beside the program. Opening records the
// path only; a missing file reads as empty. Options.ini belongs to the ROM
// options dialog but is opened here too, so every catalogue path has one home.
struct Catalogue {
    explicit Catalogue(const QString& programDirectory);

    QString programDir;
    IniFile MainIni;
    IniFile MapsIni;
    IniFile TilesetsIni;
    IniFile CrittersIni;
    IniFile EventsIni;
    IniFile OptionsIni;

    // A copy whose files are each read as they are now, once, for a run over
    // the whole catalogue (see IniFile::pinned()).
    Catalogue pinned() const;

    // The editor's own setting in the catalogue: "Grid" in section
    // "Settings" of Critters.ini. A failed write says why in `error`.
    bool grid() const;
    bool setGrid(bool on, QString* error);

    // A file name taken from a catalogue (such as a tile picture), relative
    // to the program's directory, resolved as Windows would find it.
    QString programFile(const QString& name) const;
};
