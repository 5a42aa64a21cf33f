#include "model/tiled/tiled_tileset.h"

#include "model/catalogue/map_record.h"
#include "model/map/block_pictures.h"
#include "model/tiled/tiled_names.h"

#include <QPainter>
#include <QXmlStreamWriter>

namespace {

int tilesetRows(int tileCount)
{
    return (qMax(tileCount, 1) + TiledTilesetColumns - 1) / TiledTilesetColumns;
}

} // namespace

int tiledTileCount(const MapRecord& record)
{
    return qBound(0, record.TilesetBlocks, BlockPlaces - 1) + 2;
}

QImage tiledTilesetImage(const BlockPictures& pictures, int tileset, int tileCount)
{
    QImage image(TiledTilesetColumns * TiledTilePixels, tilesetRows(tileCount) * TiledTilePixels,
                 QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (int tile = 1; tile < tileCount; ++tile) {
        if (!pictures.has(tileset, tile - 1))
            continue;
        const QImage& block = pictures.picture(tileset, tile - 1);
        const QPoint at(tile % TiledTilesetColumns * TiledTilePixels, tile / TiledTilesetColumns * TiledTilePixels);
        painter.drawImage(QRect(at, QSize(TiledTilePixels, TiledTilePixels)),
                          block.convertToFormat(QImage::Format_RGB32));
    }
    return image;
}

QByteArray writeTsx(int tileset, int tileCount)
{
    const QString name = tiledTilesetName(tileset);
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("tileset"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.8"));
    xml.writeAttribute(QStringLiteral("name"), name);
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(TiledTilePixels));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(TiledTilePixels));
    xml.writeAttribute(QStringLiteral("tilecount"), QString::number(tileCount));
    xml.writeAttribute(QStringLiteral("columns"), QString::number(TiledTilesetColumns));
    xml.writeEmptyElement(QStringLiteral("image"));
    xml.writeAttribute(QStringLiteral("source"), name + QStringLiteral(".png"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(TiledTilesetColumns * TiledTilePixels));
    xml.writeAttribute(QStringLiteral("height"), QString::number(tilesetRows(tileCount) * TiledTilePixels));
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}
