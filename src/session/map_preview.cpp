#include "session/map_preview.h"

#include "model/rom/rom_image.h"

MapPreviewDrawer::MapPreviewDrawer(const Catalogue& catalogue, const RomImage& rom)
    : m_catalogue(catalogue), m_rom(rom), m_drawer(catalogue, rom.bytes())
{
}

MapPreview MapPreviewDrawer::draw(const MapFields& map, bool isNew, int maxSide)
{
    MapPreview preview;
    const CatalogueWriter writer(m_catalogue, m_rom.size());
    preview.refusal = writer.mapProblem(map, isNew);
    if (!preview.refusal.isEmpty())
        return preview;
    return drawRecord(writer.recordOf(map), maxSide);
}

MapPreview MapPreviewDrawer::drawFound(const MapFields& map, int maxSide)
{
    MapPreview preview;
    if (map.width < 1 || map.height < 1 || map.width > MapBufferSize || map.height > MapBufferSize ||
        map.start < 0 || map.start > m_rom.size()) {
        preview.refusal = QStringLiteral("No map lies there.");
        return preview;
    }
    const MapRecord record = CatalogueWriter(m_catalogue, m_rom.size()).recordOf(map);
    preview.refusal = mapRecordProblem(record, m_rom.size());
    if (!preview.refusal.isEmpty())
        return preview;
    return drawRecord(record, maxSide);
}

MapPreview MapPreviewDrawer::drawRecord(const MapRecord& record, int maxSide)
{
    MapPreview preview;
    PreparedPick pick;
    pick.record = record;
    const QString tilesPath = m_catalogue.programFile(pick.record.tiles);
    const std::optional<TilePicture> picture =
        pick.record.tiles.trimmed().isEmpty() ? std::nullopt : m_pictures.load(tilesPath);
    if (!picture) {
        preview.refusal = QStringLiteral("Cannot open file %1").arg(tilesPath);
        return preview;
    }
    pick.picture = *picture;
    preview.refusal = encounterTableProblem(pick.record, m_rom);
    if (!preview.refusal.isEmpty())
        return preview;
    preview.picture = m_drawer.drawPick(pick, maxSide);
    return preview;
}
