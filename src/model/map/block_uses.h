#pragma once

#include "model/catalogue/map_record.h"

#include <QByteArray>

// How many cells of the map of `record` hold `block` in the image `rom`: the
// bytes from MapStart that are cells of the map (no more than MapEnd allows).
// -1 when those bytes do not lie inside the image.
qint64 blockUseCount(const QByteArray& rom, const MapRecord& record, quint8 block);
