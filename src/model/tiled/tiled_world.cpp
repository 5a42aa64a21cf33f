#include "model/tiled/tiled_world.h"

#include "model/tiled/tiled_tileset.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

QByteArray writeWorld(const QList<TiledWorldMap>& maps)
{
    const int perRow = qMax(1, int(std::ceil(std::sqrt(double(maps.size())))));
    QJsonArray entries;
    qint64 x = 0, y = 0, rowHeight = 0;
    for (qsizetype i = 0; i < maps.size(); ++i) {
        if (i > 0 && i % perRow == 0) {
            x = 0;
            y += rowHeight + 1;
            rowHeight = 0;
        }
        const TiledWorldMap& map = maps.at(i);
        entries.append(QJsonObject{{QStringLiteral("fileName"), map.fileName},
                                   {QStringLiteral("x"), x * TiledTilePixels},
                                   {QStringLiteral("y"), y * TiledTilePixels},
                                   {QStringLiteral("width"), qint64(map.width) * TiledTilePixels},
                                   {QStringLiteral("height"), qint64(map.height) * TiledTilePixels}});
        x += map.width + 1;
        rowHeight = qMax<qint64>(rowHeight, map.height);
    }
    const QJsonObject world{{QStringLiteral("maps"), entries},
                            {QStringLiteral("onlyShowAdjacentMaps"), false},
                            {QStringLiteral("type"), QStringLiteral("world")}};
    return QJsonDocument(world).toJson(QJsonDocument::Indented);
}
