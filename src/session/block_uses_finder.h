#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

struct Catalogue;
class RomImage;

// A map that uses a block, and on how many of its cells.
struct BlockUse {
    QString category;   // the first category that lists the map
    QString map;
    qint64 count = 0;
    bool operator==(const BlockUse&) const = default;
};

// The maps of the catalogue on tileset `tileset` that use `block` in the
// image, in chooser order, each once. Maps a pick would refuse are left out.
QList<BlockUse> findBlockUses(const Catalogue& catalogue, const RomImage& rom, qint32 tileset, quint8 block);
