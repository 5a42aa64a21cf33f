#pragma once

#include "model/catalogue/map_record.h"

#include <QByteArray>

struct MapState;

// How many cells of the map of `record` hold `block` in the image `rom`: the
// bytes from MapStart that are cells of the map (no more than MapEnd allows).
// -1 when those bytes do not lie inside the image.
qint64 blockUseCount(const QByteArray& rom, const MapRecord& record, quint8 block);
// The same count on the image as a save would leave it: where the bytes of
// the map shown (`working`, its unsaved edits included) go, they are counted
// instead of the image's.
qint64 blockUseCount(const QByteArray& rom, const MapRecord& record, quint8 block, const MapState& working);
