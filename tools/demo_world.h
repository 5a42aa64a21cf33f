#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// The made-up world of the demo cartridge: its tilesets with their blocks, and
// its maps with their block layouts, events and wild creatures. Everything
// here is plain data; demo_data.cpp lays it out in the image and the catalogue.
namespace DemoWorld {

using Block = std::array<quint8, 16>;   // 4 rows of 4 tile numbers

struct Tileset {
    int number = 0;          // section of Tilesets.ini
    QString tiles;           // "Tiles" as written in Tilesets.ini
    QString pictureFile;     // where the picture is written, relative to the directory
    QImage picture;
    QVector<Block> blocks;   // blocks 1.. ; the last one is read by the build but not shown
    int shownBlocks() const { return int(blocks.size()) - 1; }
};

struct Warp { int x, y, warpTo, bank, number; };
struct Signpost { int x, y, hiddenItem, textBlock, textBank; };
struct Person { int x, y, picture, facing, movement, unk1, unk2, function, unk3, textBlock, textBank, when, hiddenFlag; };

struct Map {
    QString name;
    QString category;
    QString comment;
    int tileset = 0;
    int width = 0, height = 0;
    QByteArray blocks;             // width x height block numbers, row by row
    QVector<Warp> warps;
    QVector<Signpost> signposts;
    QVector<Person> people;
    QByteArray encounters;         // 42 bytes, or empty for a map without wild creatures
    int bank = 0, number = 0;      // the map's own number in the game, for warps and encounter headers
};

struct World {
    QVector<Tileset> tilesets;
    QVector<Map> maps;             // in Main.Ini order, grouped by category
    QStringList categories;
};

// Builds the world; on a fault in the layouts (a row of the wrong length, an
// unknown block letter) returns an empty world and sets `error`.
World buildWorld(QString* error);

}
