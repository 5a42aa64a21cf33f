#include "script/script_tileset.h"

#include "script/script_image.h"
#include "script/script_values.h"
#include "model/catalogue/catalogue.h"
#include "model/map/tileset_blocks.h"

#include <QJSEngine>

qint64 ScriptTileset::blockOffset(const QJSValue& block)
{
    QJSEngine* engine = qjsEngine(this);
    if (m_blockCount == 0) {
        throwScriptError(engine, QStringLiteral("tileset %1 has no blocks").arg(m_number));
        return -1;
    }
    const std::optional<qint64> index = scriptInteger(engine, block, 0, m_blockCount - 1, QStringLiteral("block"));
    if (!index)
        return -1;
    return tilesetBlockOffset(m_start, *index);
}

QJSValue ScriptTileset::tiles(const QJSValue& block)
{
    const qint64 offset = blockOffset(block);
    if (offset < 0)
        return {};
    BlockTileNumbers numbers{};
    // The tileset's blocks were found inside the image when it was opened,
    // and the image keeps its size.
    if (!readBlockTiles(m_image.rom, offset, numbers))
        return throwScriptError(qjsEngine(this), QStringLiteral("the blocks of tileset %1 cannot be read").arg(m_number));
    QJSValue list = qjsEngine(this)->newArray(BlockSize);
    for (int i = 0; i < BlockSize; ++i)
        list.setProperty(quint32(i), numbers[size_t(i)]);
    return list;
}

QJSValue ScriptTileset::setTiles(const QJSValue& block, const QJSValue& tiles)
{
    QJSEngine* engine = qjsEngine(this);
    const qint64 offset = blockOffset(block);
    if (offset < 0)
        return {};
    if (!tiles.isArray() || tiles.property(QStringLiteral("length")).toInt() != BlockSize)
        return throwScriptError(engine, QStringLiteral("setTiles takes an array of %1 tile numbers, row by row")
                                            .arg(BlockSize));
    // Every number is checked before the block is written: all or nothing.
    BlockTileNumbers numbers{};
    for (int i = 0; i < BlockSize; ++i) {
        const std::optional<qint64> tile =
            scriptInteger(engine, tiles.property(quint32(i)), 0, 255, QStringLiteral("tile"));
        if (!tile)
            return {};
        numbers[size_t(i)] = qint32(*tile);
    }
    if (!writeBlockTiles(m_image.rom, offset, numbers))
        return throwScriptError(engine, QStringLiteral("the blocks of tileset %1 cannot be written").arg(m_number));
    m_image.wrote();
    return {};
}

QJSValue ScriptTilesets::open(const QJSValue& number)
{
    QJSEngine* engine = qjsEngine(this);
    const std::optional<qint64> n = scriptInteger(engine, number, 1, TilesetCount, QStringLiteral("tileset"));
    if (!n)
        return {};
    ScriptTileset* tileset = m_open.value(int(*n));
    if (!tileset) {
        const QString section = QString::number(*n);
        const qint32 blocks = m_catalogue.TilesetsIni.readInteger(section, QStringLiteral("Blocks"), 0);
        const qint32 start = m_catalogue.TilesetsIni.readInteger(section, QStringLiteral("Start offset"), 0);
        if (blocks < 0 || blocks > BlockPlaces - 1)
            return throwScriptError(engine, QStringLiteral("tileset %1 has %2 blocks, not 0 to %3")
                                                .arg(*n).arg(blocks).arg(BlockPlaces - 1));
        // The bytes the map pick asks of a tileset: one block more than its count.
        const qint64 bytes = qint64(BlockSize) * (qint64(blocks) + 1), size = m_image.rom.size();
        if (start < 0 || start > size || bytes > size - start)
            return throwScriptError(engine, QStringLiteral("the blocks of tileset %1 lie outside the ROM image").arg(*n));
        tileset = new ScriptTileset(int(*n), start, blocks, m_image, this);
        QJSEngine::setObjectOwnership(tileset, QJSEngine::CppOwnership);
        m_open.insert(int(*n), tileset);
    }
    return engine->newQObject(tileset);
}
