#include "model/map/tiles_from_rom.h"

#include "base/file_lookup.h"
#include "model/catalogue/map_record.h"
#include "model/map/bmp_writer.h"
#include "model/map/cartridge_tiles.h"
#include "model/rom/rom_image.h"

#include <QDir>
#include <QFileInfo>

QString tilePictureName(const Catalogue& catalogue, qint64 tileset)
{
    const QString named = catalogue.TilesetsIni.readString(QString::number(tileset), QStringLiteral("Tiles")).trimmed();
    return named.isEmpty() ? QStringLiteral("tiles/Tileset %1.bmp").arg(tileset) : named;
}

CatalogueWrite saveTilesFromRom(const Catalogue& catalogue, const RomImage& rom, const TilesFromRom& tiles)
{
    CatalogueWrite w;
    if (tiles.tileset < 1 || tiles.tileset > TilesetCount) {
        w.refusal = QStringLiteral("Tileset %1 is not from 1 to %2.").arg(tiles.tileset).arg(TilesetCount);
        return w;
    }
    CartridgeTiles::Colours colours = CartridgeTiles::greys();
    if (tiles.palette) {
        const auto read = CartridgeTiles::paletteAt(rom, *tiles.palette);
        if (!read) {
            w.refusal = QStringLiteral("The palette at %1 does not lie inside the ROM image.")
                            .arg(QString::number(quint64(qMax<qint64>(*tiles.palette, 0)), 16).toUpper());
            return w;
        }
        colours = *read;
    }
    QImage picture;
    w.refusal = CartridgeTiles::picture(rom, tiles.offset, colours, &picture);
    if (!w.ok())
        return w;

    const CatalogueWriter writer(catalogue, rom.size());
    TilesetFields fields = writer.readTileset(tiles.tileset);
    const bool named = !fields.tiles.trimmed().isEmpty();
    fields.tiles = tilePictureName(catalogue, tiles.tileset);
    const QString existing = catalogue.programFile(fields.tiles);
    const QString path = QFileInfo::exists(existing) ? existing : catalogueFilePath(catalogue.programDir, fields.tiles);
    if (!named) {
        // The tileset's section as it will be written: its blocks must still lie in the image.
        w.refusal = writer.tilesetProblem(fields);
        if (!w.ok())
            return w;
    }
    w.change.recordBefore(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    if (!writeBmp24(path, picture, &error)) {
        w.refusal = error;
        return w;
    }
    if (!named) {
        CatalogueWrite section = writer.writeTileset(fields);
        if (!section.ok()) {
            w.change.restoreBefore();
            w.refusal = section.refusal;
            return w;
        }
        for (const CatalogueFileText& f : section.change.files())
            w.change.recordBefore(f.path, f.before);
    }
    w.change.recordAfter();
    if (!w.change.keepBackups(&error)) {
        w.change.restoreBefore();
        w.refusal = error;
    }
    return w;
}
