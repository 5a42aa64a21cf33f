// The blocks of a tileset in the image: where a block lies, and reads and
// writes that never reach outside the image.
#include "model/map/tileset_blocks.h"
#include "model/rom/rom_image.h"

#include <QtTest>

class TestTilesetBlocks : public QObject {
    Q_OBJECT
private slots:
    void blockInsideOrRefused_data();
    void blockInsideOrRefused();
};

void TestTilesetBlocks::blockInsideOrRefused_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("index");
    QTest::addColumn<qint64>("offset");   // -1: no block there
    QTest::newRow("last block in the image") << qint64(0x40) << qint64(11) << qint64(0xF0);
    QTest::newRow("block past the image") << qint64(0x40) << qint64(12) << qint64(0x100);
    QTest::newRow("negative index") << qint64(0x40) << qint64(-1) << qint64(-1);
    QTest::newRow("index whose offset wraps in 32 bits") << qint64(0x40) << qint64(0x10000000) << qint64(-1);
}

void TestTilesetBlocks::blockInsideOrRefused()
{
    QFETCH(qint64, start);
    QFETCH(qint64, index);
    QFETCH(qint64, offset);
    QCOMPARE(tilesetBlockOffset(start, index), offset);
    RomImage rom;
    rom.setBytes(QByteArray(0x100, '\x11'));
    const bool inside = offset >= 0 && offset + BlockSize <= rom.size();
    BlockTileNumbers tiles;
    tiles.fill(0x1A2);   // only the low byte is stored
    QCOMPARE(writeBlockTiles(rom, offset, tiles), inside);
    QCOMPARE(rom.bytes().count('\xA2'), inside ? BlockSize : 0);
    BlockTileNumbers read;
    read.fill(-5);
    QCOMPARE(readBlockTiles(rom, offset, read), inside);
    QCOMPARE(read[BlockSize - 1], inside ? 0xA2 : -5);
}

QTEST_GUILESS_MAIN(TestTilesetBlocks)
#include "tst_tileset_blocks.moc"
