#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A map of a category's world: its .tmx file name (beside the .world) and
// its size in blocks.
struct TiledWorldMap {
    QString fileName;
    int width = 0;
    int height = 0;
};

// The .world of a category: its maps laid out in rows, left to right, as
// many maps a row as the square root of their number (rounded up), one
// block of space between them.
QByteArray writeWorld(const QList<TiledWorldMap>& maps);
