#include "model/tiled/tmx_writer.h"

#include "model/catalogue/map_record.h"
#include "model/events/event_tables.h"
#include "model/map/map_state.h"
#include "model/tiled/tiled_events.h"
#include "model/tiled/tiled_names.h"
#include "model/tiled/tiled_tileset.h"

#include <QXmlStreamWriter>

namespace {

void writeProperty(QXmlStreamWriter& xml, const QString& name, const QString& value, bool integer)
{
    xml.writeStartElement(QStringLiteral("property"));
    xml.writeAttribute(QStringLiteral("name"), name);
    if (integer)
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("int"));
    xml.writeAttribute(QStringLiteral("value"), value);
    xml.writeEndElement();
}

QString blockRows(const MapRecord& record, const MapState& map)
{
    QString text;
    text.reserve(qsizetype(record.cellCount()) * 4 + record.MapHeight + 1);
    text += QLatin1Char('\n');
    for (qint32 y = 0; y < record.MapHeight; ++y) {
        for (qint32 x = 0; x < record.MapWidth; ++x) {
            const qint32 cell = y * record.MapWidth + x;
            const int block = map.cellHasByte(cell) ? map.MapBytes[size_t(cell)] : 0;
            text += QString::number(TiledFirstGid + block);
            if (x + 1 < record.MapWidth || y + 1 < record.MapHeight)
                text += QLatin1Char(',');
        }
        text += QLatin1Char('\n');
    }
    return text;
}

void writeEvents(QXmlStreamWriter& xml, const EventState& events)
{
    int id = 1;
    for (quint8 kind : {TEventData::Warp, TEventData::Singpost, TEventData::People}) {
        const int count = eventCount(events, kind);
        for (int index = 1; index <= count; ++index, ++id) {
            const TEventData event{quint8(index), kind};
            int x = 0, y = 0;
            eventSquare(events, event, &x, &y);
            xml.writeStartElement(QStringLiteral("object"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(id));
            xml.writeAttribute(QStringLiteral("name"), QString::number(index));
            xml.writeAttribute(QStringLiteral("type"), tiledEventType(kind));
            xml.writeAttribute(QStringLiteral("x"), QString::number(x * TiledTilePixels));
            xml.writeAttribute(QStringLiteral("y"), QString::number(y * TiledTilePixels));
            xml.writeAttribute(QStringLiteral("width"), QString::number(TiledTilePixels));
            xml.writeAttribute(QStringLiteral("height"), QString::number(TiledTilePixels));
            xml.writeStartElement(QStringLiteral("properties"));
            for (const TiledEventByte& byte : tiledEventBytes(kind))
                writeProperty(xml, byte.label, QString::number(eventByte(events, event, byte.byte)), true);
            xml.writeEndElement();
            xml.writeEndElement();
        }
    }
}

int eventTotal(const EventState& events)
{
    return eventCount(events, TEventData::Warp) + eventCount(events, TEventData::Singpost)
        + eventCount(events, TEventData::People);
}

} // namespace

QByteArray writeTmx(const TmxSource& source)
{
    const MapRecord& record = source.record;
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.8"));
    xml.writeAttribute(QStringLiteral("orientation"), QStringLiteral("orthogonal"));
    xml.writeAttribute(QStringLiteral("renderorder"), QStringLiteral("right-down"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(record.MapWidth));
    xml.writeAttribute(QStringLiteral("height"), QString::number(record.MapHeight));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(TiledTilePixels));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(TiledTilePixels));
    xml.writeAttribute(QStringLiteral("infinite"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("nextlayerid"), QStringLiteral("3"));
    xml.writeAttribute(QStringLiteral("nextobjectid"), QString::number(eventTotal(source.events) + 1));

    xml.writeStartElement(QStringLiteral("properties"));
    writeProperty(xml, QLatin1String(TiledCategoryProperty), source.category, false);
    writeProperty(xml, QLatin1String(TiledMapProperty), record.name, false);
    writeProperty(xml, QLatin1String(TiledStartProperty), QString::number(record.MapStart), true);
    xml.writeEndElement();

    xml.writeEmptyElement(QStringLiteral("tileset"));
    xml.writeAttribute(QStringLiteral("firstgid"), QString::number(TiledFirstGid));
    xml.writeAttribute(QStringLiteral("source"), tiledTilesetName(record.TilesetNumber) + QStringLiteral(".tsx"));

    xml.writeStartElement(QStringLiteral("layer"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(TiledBlocksLayer));
    xml.writeAttribute(QStringLiteral("width"), QString::number(record.MapWidth));
    xml.writeAttribute(QStringLiteral("height"), QString::number(record.MapHeight));
    xml.writeStartElement(QStringLiteral("data"));
    xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
    xml.writeCharacters(blockRows(record, source.map));
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("objectgroup"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("2"));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(TiledEventsLayer));
    writeEvents(xml, source.events);
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}
