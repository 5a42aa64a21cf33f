#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct Catalogue;

// Maps edited in Tiled, put back into a copy of the image.
struct TiledImport {
    QByteArray image;     // the image with every map applied; empty when refused
    QStringList maps;     // the maps applied, in the order of the files
    QString refusal;      // the one reason nothing was applied
};

// The .tmx files an import reads: FILE itself, or every .tmx of folder DIR in
// name order. Empty with a reason in `error` when there is none.
QStringList tiledImportFiles(const QString& fileOrFolder, QString* error);

// Applies each file to the map its "Map" property names (`map` instead, for
// a single file, when it is given): block bytes and event records, checked
// as applyTmx checks them. All or nothing: the first refusal names its file
// and the cell or object, and no map is applied.
TiledImport importTiled(const Catalogue& catalogue, const QByteArray& image, const QStringList& files,
                        const QString& map = QString());
