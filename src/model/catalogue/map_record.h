#pragma once

#include <QString>
#include <QtGlobal>

struct Catalogue;

// Limits of the editor's stores.
inline constexpr int MapBufferSize = 10000;   // cells (and bytes) a map may have
inline constexpr int TilesetCount = 20;       // tileset numbers 1 to 20
inline constexpr int BlockPlaces = 128;       // palette rows per tileset
inline constexpr int BlockSize = 16;          // bytes (tile numbers) per block
inline constexpr int MapBlockPixels = 64;       // a block's picture is 64 x 64 pixels
// The longest side a map picture may have, in pixels: the painter's
// coordinate limit, so a map is at most 511 blocks wide or high.
inline constexpr qint64 MapPictureMaxSide = 32767;

// The current map's record, read from Maps.Ini, Tilesets.ini and Critters.ini
// for the name shown in the map chooser. All values are 0 until the first pick.
struct MapRecord {
    QString name;            // the map chooser's text; section name in the catalogues
    qint32 MapStart = 0;     // first block byte
    qint32 MapEnd = 0;       // last block byte, inclusive
    qint32 MapWidth = 0;     // in blocks
    qint32 MapHeight = 0;    // in blocks
    qint32 TilesetNumber = 0;
    qint32 TilesetBlocks = 0;
    qint32 TilesetStart = 0;
    qint32 EncounterStart = 0; // 0: no wild-encounter table
    QString comment;         // hint of the map and event views
    QString tiles;           // the tile picture's file name, as written in Tilesets.ini

    bool isMap() const { return !name.isEmpty(); }
    // Bytes from MapStart to MapEnd, 0 when MapEnd < MapStart.
    qint64 byteCount() const;
    qint64 cellCount() const { return qint64(MapWidth) * MapHeight; }
};

// Reads the record for `name` in the order of the map pick.
MapRecord readMapRecord(const Catalogue& catalogue, const QString& name);

// Checks a record against the stores and the ROM image of `romSize` bytes.
// Returns an empty string when the record is sound, else a short message
// naming the map and the value that the editor cannot hold.
QString mapRecordProblem(const MapRecord& record, qint64 romSize);
