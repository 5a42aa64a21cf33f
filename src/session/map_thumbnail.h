#pragma once

#include "model/catalogue/catalogue.h"
#include "model/map/block_pictures.h"
#include "model/map/tile_picture.h"
#include "model/rom/rom_image.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <array>
#include <vector>

// One map of the overview: a small picture of its blocks, or the refusal a
// pick of it would show instead. `key` sums up everything the picture was
// drawn from (the record, the map's bytes, the tileset's bytes); a picture
// whose key has not changed need not be drawn again.
struct MapThumbnail {
    QString name;
    quint64 key = 0;        // 0: refused, nothing to keep
    QImage picture;         // null when refused or when unchanged
    QString refusal;        // the pick's refusal text, empty for a sound map
    bool unchanged = false; // the key matched the one the caller held: no picture drawn
};

// Draws map thumbnails from a copy of the image, with every picture it needs
// built into objects of its own: nothing here is shared with the editor's
// state, so a drawer may run on a worker thread while the editor goes on.
//
// Use from a worker: make the drawer on the worker (or hand it over before
// the worker starts) with a copy of the catalogue handles and the image's
// bytes (`rom.bytes()`, an implicitly shared QByteArray: the copy costs
// nothing, and a later edit of the editor's image detaches its own bytes),
// then call draw() for each map name. One drawer belongs to one thread at a
// time; two workers make two drawers. The catalogue's INI cache is locked
// and may be read from any thread.
class MapThumbnailDrawer {
public:
    // The longest side of a thumbnail, in pixels (a block is drawn 1 to
    // MaxBlockPixels pixels wide, the largest that keeps the map inside it).
    static constexpr int MaxSide = 80;
    static constexpr int MaxBlockPixels = 8;

    MapThumbnailDrawer(const Catalogue& catalogue, const QByteArray& image);

    // The thumbnail of `name`. With `knownKey` equal to the map's key now,
    // nothing is drawn and the result says `unchanged`.
    MapThumbnail draw(const QString& name, quint64 knownKey = 0);

    // The picture of a map the pick's checks have passed, at most `maxSide`
    // pixels a side (a record not yet in the catalogue: a preview).
    QImage drawPick(const struct PreparedPick& pick, int maxSide = MaxSide);

    // The pixels per block of a map of `columns` x `rows` blocks.
    static int blockPixels(int columns, int rows, int maxSide = MaxSide);

private:
    struct Tileset {
        quint64 key = 0;
        bool built = false;
        // Block pictures brought to n x n pixels, by n.
        QHash<int, std::vector<QImage>> reduced;
    };
    Tileset& tileset(const MapRecord& record, const TilePicture& pics, quint64 key);
    const std::vector<QImage>& reduced(Tileset& set, int tilesetNumber, int blocks, int side);

    Catalogue m_catalogue;
    RomImage m_rom;
    BlockPictures m_pictures;
    std::array<Tileset, TilesetCount> m_tilesets{};
};
