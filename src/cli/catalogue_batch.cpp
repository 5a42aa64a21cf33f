#include "cli/catalogue_batch.h"

#include "model/catalogue/catalogue_writer.h"
#include "model/map/tiles_from_rom.h"
#include "model/rom/rom_image.h"

#include <QTextStream>

int newMapBatch(const CommandLine& line, const Catalogue& catalogue, const RomImage& rom, QTextStream& out,
                QTextStream& err)
{
    MapFields map;
    map.name = line.map;
    map.category = line.category;
    map.start = line.start;
    map.width = line.width;
    map.height = line.height;
    map.tileset = line.tileset;
    const CatalogueWrite w = CatalogueWriter(catalogue, rom.size()).writeMap(map, true);
    if (!w.ok()) {
        err << w.refusal << '\n';
        return ExitProblems;
    }
    out << QStringLiteral("Added map \"%1\" to category \"%2\".").arg(map.name, map.category) << '\n';
    return ExitSuccess;
}

int tilesFromRomBatch(const CommandLine& line, const Catalogue& catalogue, const RomImage& rom, QTextStream& out,
                      QTextStream& err)
{
    const CatalogueWrite w = saveTilesFromRom(catalogue, rom, {line.tileset, line.start, line.palette});
    if (!w.ok()) {
        err << w.refusal << '\n';
        return ExitProblems;
    }
    out << QStringLiteral("Wrote the tile picture %1 of tileset %2.")
               .arg(tilePictureName(catalogue, line.tileset))
               .arg(line.tileset)
        << '\n';
    return ExitSuccess;
}
