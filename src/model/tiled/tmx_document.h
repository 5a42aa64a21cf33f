#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <vector>

// What a TMX file says about a map, as read: nothing checked against the
// catalogue yet.
struct TmxProperty {
    QString name;
    QString value;
};

struct TmxTilesetRef {
    qint64 firstGid = 0;
    QString source;   // the .tsx as written in the map; empty for a tileset held in the map
};

struct TmxObject {
    QString name;
    QString type;     // `type`, or `class` as newer Tiled writes it
    double x = 0, y = 0, width = 0, height = 0;
    QList<TmxProperty> properties;
};

struct TmxMap {
    int width = 0, height = 0;        // in tiles
    QList<TmxProperty> properties;
    QList<TmxTilesetRef> tilesets;
    std::vector<quint32> cells;       // the block layer's ids, row by row, flags included
    QList<TmxObject> events;          // the objects of the layer "Events"

    // The value of the first property of that name; null when there is none.
    QString property(const QString& name) const;
};
