#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

struct Catalogue;
struct MapState;
class RomImage;

// A map that uses a block, and on how many of its cells.
struct BlockUse {
    QString category;   // the first category that lists the map
    QString map;
    qint64 count = 0;
    bool operator==(const BlockUse&) const = default;
};

// The maps of the catalogue on tileset `tileset` that use `block`, in chooser
// order, each once. The image is counted with the working copy of the map
// shown (`working`, unsaved edits included) in place of the bytes a save
// would write it over. Maps a pick would refuse are left out.
QList<BlockUse> findBlockUses(const Catalogue& catalogue, const RomImage& rom, const MapState& working, qint32 tileset,
                              quint8 block);
