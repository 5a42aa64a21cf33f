#include "model/tiled/tmx_reader.h"

#include "model/catalogue/map_record.h"
#include "model/tiled/tiled_names.h"
#include "model/tiled/tmx_layer_data.h"

#include <QXmlStreamReader>

namespace {

// A tile layer as read, decoded only once it is the one taken.
struct RawLayer {
    QString name;
    qint64 width = 0, height = 0;
    QString encoding, compression, text;
    std::vector<quint32> tiles;   // <tile gid> children of a layer without encoding
};

QString attribute(const QXmlStreamReader& xml, const char* name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

qint64 integerAttribute(const QXmlStreamReader& xml, const char* name)
{
    return xml.attributes().value(QLatin1String(name)).toLongLong();
}

void readProperties(QXmlStreamReader& xml, QList<TmxProperty>* properties)
{
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("property")) {
            xml.skipCurrentElement();
            continue;
        }
        TmxProperty property{attribute(xml, "name"), {}};
        if (xml.attributes().hasAttribute(QLatin1String("value"))) {
            property.value = attribute(xml, "value");
            xml.skipCurrentElement();
        } else {
            property.value = xml.readElementText(QXmlStreamReader::SkipChildElements);
        }
        properties->append(property);
    }
}

void readLayer(QXmlStreamReader& xml, RawLayer* layer)
{
    layer->name = attribute(xml, "name");
    layer->width = integerAttribute(xml, "width");
    layer->height = integerAttribute(xml, "height");
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("data")) {
            xml.skipCurrentElement();
            continue;
        }
        layer->encoding = attribute(xml, "encoding");
        layer->compression = attribute(xml, "compression");
        if (!layer->encoding.isEmpty()) {
            layer->text = xml.readElementText(QXmlStreamReader::SkipChildElements);
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("tile"))
                layer->tiles.push_back(quint32(integerAttribute(xml, "gid")));
            xml.skipCurrentElement();
        }
    }
}

void readObjects(QXmlStreamReader& xml, QList<TmxObject>* objects)
{
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("object")) {
            xml.skipCurrentElement();
            continue;
        }
        TmxObject object;
        object.name = attribute(xml, "name");
        object.type = attribute(xml, "type");
        if (object.type.isEmpty())
            object.type = attribute(xml, "class");
        object.x = xml.attributes().value(QLatin1String("x")).toDouble();
        object.y = xml.attributes().value(QLatin1String("y")).toDouble();
        object.width = xml.attributes().value(QLatin1String("width")).toDouble();
        object.height = xml.attributes().value(QLatin1String("height")).toDouble();
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("properties"))
                readProperties(xml, &object.properties);
            else
                xml.skipCurrentElement();
        }
        objects->append(object);
    }
}

bool takeLayer(const QList<RawLayer>& layers, const TmxMap& map, std::vector<quint32>* cells, QString* error)
{
    const RawLayer* taken = nullptr;
    for (const RawLayer& layer : layers)
        if (layer.name == QLatin1String(TiledBlocksLayer)) {
            taken = &layer;
            break;
        }
    if (!taken && layers.size() == 1)
        taken = &layers.constFirst();
    if (!taken) {
        *error = layers.isEmpty() ? QStringLiteral("The map has no tile layer.")
                                  : QStringLiteral("The map has %1 tile layers and none is named \"%2\".")
                                        .arg(layers.size())
                                        .arg(QLatin1String(TiledBlocksLayer));
        return false;
    }
    if (taken->width != map.width || taken->height != map.height) {
        *error = QStringLiteral("The layer \"%1\" is %2 x %3 tiles, the map %4 x %5.")
                     .arg(taken->name)
                     .arg(taken->width)
                     .arg(taken->height)
                     .arg(map.width)
                     .arg(map.height);
        return false;
    }
    const qint64 count = qint64(map.width) * map.height;
    if (taken->encoding.isEmpty()) {
        if (qint64(taken->tiles.size()) != count) {
            *error = QStringLiteral("The layer data holds %1 tile ids, not %2.").arg(taken->tiles.size()).arg(count);
            return false;
        }
        *cells = taken->tiles;
        return true;
    }
    return decodeLayerData(taken->encoding, taken->compression, taken->text, count, cells, error);
}

} // namespace

QString TmxMap::property(const QString& name) const
{
    for (const TmxProperty& p : properties)
        if (p.name == name)
            return p.value;
    return {};
}

bool readTmx(const QByteArray& bytes, TmxMap* map, QString* error)
{
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("map")) {
        *error = xml.hasError() ? QStringLiteral("It is not a TMX map: %1 (line %2).")
                                      .arg(xml.errorString())
                                      .arg(xml.lineNumber())
                                : QStringLiteral("It is not a TMX map.");
        return false;
    }
    *map = TmxMap{};
    if (attribute(xml, "infinite") == QStringLiteral("1")) {
        *error = QStringLiteral("It is an infinite map; a map here has a fixed size.");
        return false;
    }
    const qint64 width = integerAttribute(xml, "width"), height = integerAttribute(xml, "height");
    // No map here has more cells than the map buffer: a larger layer is not even decoded.
    if (width < 1 || height < 1 || width > MapBufferSize || height > MapBufferSize || width * height > MapBufferSize) {
        *error = QStringLiteral("Its size of %1 x %2 tiles is no map size (at most %3 blocks).")
                     .arg(width)
                     .arg(height)
                     .arg(MapBufferSize);
        return false;
    }
    map->width = int(width);
    map->height = int(height);
    QList<RawLayer> layers;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == QLatin1String("properties")) {
            readProperties(xml, &map->properties);
        } else if (name == QLatin1String("tileset")) {
            map->tilesets.append(TmxTilesetRef{integerAttribute(xml, "firstgid"), attribute(xml, "source")});
            xml.skipCurrentElement();
        } else if (name == QLatin1String("layer")) {
            layers.append(RawLayer{});
            readLayer(xml, &layers.last());
        } else if (name == QLatin1String("objectgroup") && attribute(xml, "name") == QLatin1String(TiledEventsLayer)) {
            readObjects(xml, &map->events);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("It is not a TMX map: %1 (line %2).").arg(xml.errorString()).arg(xml.lineNumber());
        return false;
    }
    return takeLayer(layers, *map, &map->cells, error);
}
