#include "model/catalogue/map_record.h"

#include "model/catalogue/catalogue.h"

qint64 MapRecord::byteCount() const
{
    return MapEnd >= MapStart ? qint64(MapEnd) - MapStart + 1 : 0;
}

MapRecord readMapRecord(const Catalogue& catalogue, const QString& name)
{
    MapRecord r;
    r.name = name;
    r.MapStart = catalogue.MapsIni.readInteger(name, QStringLiteral("Start offset"), 0);
    r.MapEnd = catalogue.MapsIni.readInteger(name, QStringLiteral("End offset"), 0);
    r.MapWidth = catalogue.MapsIni.readInteger(name, QStringLiteral("X size"), 0);
    r.MapHeight = catalogue.MapsIni.readInteger(name, QStringLiteral("Y size"), 0);
    r.TilesetNumber = catalogue.MapsIni.readInteger(name, QStringLiteral("Tileset"), 0);
    const QString tileset = QString::number(r.TilesetNumber);
    r.TilesetBlocks = catalogue.TilesetsIni.readInteger(tileset, QStringLiteral("Blocks"), 0);
    r.EncounterStart = catalogue.CrittersIni.readInteger(name, QStringLiteral("Start offset"), 0);
    r.comment = catalogue.MapsIni.readString(name, QStringLiteral("Comment"));
    r.TilesetStart = catalogue.TilesetsIni.readInteger(tileset, QStringLiteral("Start offset"), 0);
    r.tiles = catalogue.TilesetsIni.readString(tileset, QStringLiteral("Tiles"));
    return r;
}

QString mapRecordProblem(const MapRecord& r, qint64 romSize)
{
    auto refuse = [&](const QString& what) {
        return QStringLiteral("Map \"%1\" cannot be shown: %2.").arg(r.name, what);
    };
    if (r.TilesetNumber < 1 || r.TilesetNumber > TilesetCount)
        return refuse(QStringLiteral("tileset %1 is not from 1 to %2").arg(r.TilesetNumber).arg(TilesetCount));
    if (r.TilesetBlocks < 0 || r.TilesetBlocks > BlockPlaces - 1)
        return refuse(QStringLiteral("tileset %1 has %2 blocks, not 0 to %3")
                          .arg(r.TilesetNumber).arg(r.TilesetBlocks).arg(BlockPlaces - 1));
    if (r.MapWidth < 1 || r.MapHeight < 1)
        return refuse(QStringLiteral("its size %1 x %2 is not at least 1 x 1").arg(r.MapWidth).arg(r.MapHeight));
    if (r.cellCount() > MapBufferSize)
        return refuse(QStringLiteral("its size %1 x %2 exceeds %3 blocks")
                          .arg(r.MapWidth).arg(r.MapHeight).arg(MapBufferSize));
    const qint64 pictureWidth = qint64(r.MapWidth) * MapBlockPixels, pictureHeight = qint64(r.MapHeight) * MapBlockPixels;
    if (pictureWidth > MapPictureMaxSide || pictureHeight > MapPictureMaxSide)
        return refuse(QStringLiteral("its picture of %1 x %2 pixels cannot be held (at most %3 pixels a side)")
                          .arg(pictureWidth).arg(pictureHeight).arg(MapPictureMaxSide));
    if (r.byteCount() > MapBufferSize)
        return refuse(QStringLiteral("its %1 bytes exceed %2").arg(r.byteCount()).arg(MapBufferSize));
    auto inside = [&](qint64 offset, qint64 length) {
        return offset >= 0 && length >= 0 && offset <= romSize && length <= romSize - offset;
    };
    if (!inside(r.MapStart, r.byteCount()))
        return refuse(QStringLiteral("its bytes %1 to %2 lie outside the ROM image")
                          .arg(QString::number(r.MapStart, 16).toUpper(), QString::number(r.MapEnd, 16).toUpper()));
    const qint64 tilesetBytes = qint64(BlockSize) * (qint64(r.TilesetBlocks) + 1);
    if (!inside(r.TilesetStart, tilesetBytes))
        return refuse(QStringLiteral("the blocks of tileset %1 lie outside the ROM image").arg(r.TilesetNumber));
    return {};
}
