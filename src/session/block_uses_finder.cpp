#include "session/block_uses_finder.h"

#include "model/catalogue/catalogue.h"
#include "model/catalogue/map_record.h"
#include "model/map/block_uses.h"
#include "model/rom/rom_image.h"
#include "session/catalogue_maps.h"

#include <QSet>

QList<BlockUse> findBlockUses(const Catalogue& catalogue, const RomImage& rom, const MapState& working, qint32 tileset,
                              quint8 block)
{
    QList<BlockUse> uses;
    QSet<QString> seen;   // a map listed in several categories is counted once
    for (const CatalogueMap& entry : catalogueMaps(catalogue.MainIni)) {
        if (seen.contains(entry.name))
            continue;
        seen.insert(entry.name);
        // The tileset alone first: most maps of a catalogue are of another one.
        if (catalogue.MapsIni.readInteger(entry.name, QStringLiteral("Tileset"), 0) != tileset)
            continue;
        const MapRecord record = readMapRecord(catalogue, entry.name);
        if (record.TilesetNumber != tileset || !mapRecordProblem(record, rom.size()).isEmpty())
            continue;
        const qint64 count = blockUseCount(rom.bytes(), record, block, working);
        if (count > 0)
            uses.append({entry.category, entry.name, count});
    }
    return uses;
}
