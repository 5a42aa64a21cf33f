#pragma once

#include "model/catalogue/catalogue.h"

#include <QString>
#include <QStringList>
#include <functional>

class RomImage;

// What a check of a whole catalogue against a ROM image found: one line per
// problem, in the words of the editor's own messages, and the counts.
struct CatalogueReport {
    QStringList problems;
    QStringList notes;      // information that is no problem (the global checksum)
    int maps = 0;           // maps checked
    int faultyMaps = 0;     // maps with at least one problem
    int options = 0;        // options of Options.ini checked
    int faultyOptions = 0;
    int patchProblems = 0;  // start menu entries and the marts patch

    bool sound() const { return problems.isEmpty(); }
    // "Checked 12 maps, 5 options, 8 start menu entries and the marts patch: 3 problems."
    QString summary() const;
    // The problem lines, then the notes.
    QStringList lines() const { return problems + notes; }
    // The lines followed by the summary line.
    QString text() const;
};

// Runs every map listed in Main.Ini through the checks of a map pick (its
// record, tileset and blocks, tile picture, map bytes, event tables and wild
// table), and checks every option of Options.ini, the start menu entries and
// the marts patch against the image, and the cartridge header's checksums.
// Changes nothing. The catalogue files are read as they are when the check
// is made, once. The maps are checked on `threads` threads, with the same
// report as on one.
class CatalogueCheck {
public:
    // A check run in steps: `mapChecked` after each map with the problems it
    // found, its place in Main.Ini's list and the list's length; a true `stopped` ends
    // the check after the maps under way, with the report of what was done.
    struct Steps {
        std::function<void(const QStringList& problems, int checked, int listed)> mapChecked;
        std::function<bool()> stopped;
    };

    CatalogueCheck(const Catalogue& catalogue, const RomImage& rom, int threads = 1)
        : m_catalogue(catalogue.pinned()), m_rom(rom), m_threads(threads)
    {
    }

    CatalogueReport run() const { return run({}); }
    // With `whole` false when the check was stopped before its end.
    CatalogueReport run(const Steps& steps, bool* whole = nullptr) const;

private:
    bool checkMaps(CatalogueReport& report, const Steps& steps) const;
    void checkOptions(CatalogueReport& report) const;
    void checkPatches(CatalogueReport& report) const;
    void checkHeader(CatalogueReport& report) const;

    const Catalogue m_catalogue;
    const RomImage& m_rom;
    int m_threads = 1;
};
