#pragma once

#include <QHash>
#include <QJSValue>
#include <QObject>

struct Catalogue;
struct ScriptImage;

// `tileset(n)` in a script: the blocks of tileset n (1 to 20) as Tilesets.ini
// places them, BlockSize tile numbers a block. The blocks are those the Block
// Editor shows (0 to blockCount - 1), read from and written into the
// script's image at once, with the Block Editor's writer.
class ScriptTileset : public QObject {
    Q_OBJECT
    Q_PROPERTY(int number READ number CONSTANT)
    Q_PROPERTY(int blockCount READ blockCount CONSTANT)
public:
    ScriptTileset(int number, qint32 start, int blockCount, ScriptImage& image, QObject* parent = nullptr)
        : QObject(parent), m_number(number), m_start(start), m_blockCount(blockCount), m_image(image) {}

    int number() const { return m_number; }
    int blockCount() const { return m_blockCount; }
    Q_INVOKABLE QJSValue tiles(const QJSValue& block = {});
    Q_INVOKABLE QJSValue setTiles(const QJSValue& block = {}, const QJSValue& tiles = {});

private:
    // The image offset of the block; -1 after an error was thrown.
    qint64 blockOffset(const QJSValue& block);

    int m_number;
    qint32 m_start;
    int m_blockCount;
    ScriptImage& m_image;
};

// Behind `tileset(n)`: a tileset is checked as the map pick checks a map's
// (a number from 1 to 20, a block count from 0 to 127, its blocks inside the
// image) and kept for the run, so asking again gives the same object.
class ScriptTilesets : public QObject {
    Q_OBJECT
public:
    ScriptTilesets(const Catalogue& catalogue, ScriptImage& image, QObject* parent = nullptr)
        : QObject(parent), m_catalogue(catalogue), m_image(image) {}

    Q_INVOKABLE QJSValue open(const QJSValue& number = {});

private:
    const Catalogue& m_catalogue;
    ScriptImage& m_image;
    QHash<int, ScriptTileset*> m_open;
};
