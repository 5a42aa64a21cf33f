#pragma once

#include "support/test_files.h"

// A temporary program directory: catalogue files for two
// tilesets and a few maps, a tile picture and a 64 KiB pattern ROM "rom.gbc".
//   Towns:  "Alpha Town" (tileset 1, 10 x 9 at 0x1000), "Beta Town" (tileset 2, 4 x 4 at 0x2000),
//           "Gamma" (listed, but no Maps.Ini section)
//   Routes: "Route 1" (tileset 1, 20 x 18 at 0x3000, encounters at 0x5000)
class CatalogueFixture {
public:
    CatalogueFixture();
    // Writes the catalogue files; tests may overwrite single files afterwards.
    void writeCatalogue();

    static constexpr int RomSize = 0x10000;

    TestDir dir;
};
