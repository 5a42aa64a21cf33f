#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// The cells of a tile layer's <data>: `count` global tile ids from CSV text,
// or from base64 of 32-bit little-endian ids, uncompressed or compressed with
// zlib or gzip. False with a message in `error` for any other encoding or
// compression, damaged data, or a number of ids other than `count`.
bool decodeLayerData(const QString& encoding, const QString& compression, const QString& text, qint64 count,
                     std::vector<quint32>* cells, QString* error);
