// A stamp placed along a line as one change, and the copied blocks' origin
// on the clipboard.
#include "model/map/cell_mask.h"
#include "model/map/map_state.h"
#include "model/map/region_flip.h"
#include "model/map/region_origin.h"
#include "model/map/stamp_line.h"
#include "model/rom/rom_image.h"

#include <QMimeData>
#include <QtTest>

namespace {
// A 6 x 3 map whose cell (x, y) holds 0x10 * y + x.
struct SmallMap {
    SmallMap()
    {
        QByteArray bytes;
        for (int i = 0; i < 18; ++i)
            bytes.append(char(0x10 * (i / 6) + i % 6));
        RomImage rom;
        rom.setBytes(bytes + QByteArray(16, '\0'));
        MapRecord record;
        record.name = QStringLiteral("M");
        record.MapEnd = 17;
        record.MapWidth = 6;
        record.MapHeight = 3;
        map.readMap(rom, record);
    }
    MapState map;
};

QString edits(const CellEdits& cells)
{
    QStringList out;
    for (const CellEdit& e : cells)
        out << QStringLiteral("%1:%2>%3").arg(e.cell).arg(e.before, 2, 16, QLatin1Char('0')).arg(e.after, 2, 16, QLatin1Char('0'));
    out.sort();
    return out.join(QLatin1Char(' '));
}
}

class TestStampShapes : public QObject {
    Q_OBJECT
private slots:
    void stampAlongALine_data();
    void stampAlongALine();
    void shapedStampWritesOnlyItsShape_data();
    void shapedStampWritesOnlyItsShape();
    void clipboardOrigin_data();
    void clipboardOrigin();
};

void TestStampShapes::stampAlongALine_data()
{
    QTest::addColumn<QByteArray>("stamp");   // one row of blocks
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("changes");    // cell:before>after, sorted
    QTest::newRow("one block across") << QByteArray("\xEE") << QPoint(1, 1) << QPoint(3, 1)
                                      << "7:11>ee 8:12>ee 9:13>ee";
    // Two wide: each cell covered twice ends with the later block and keeps
    // the map's byte as its "before".
    QTest::newRow("overlapping stamps") << QByteArray("\xAA\xBB") << QPoint(0, 0) << QPoint(2, 0)
                                        << "0:00>aa 1:01>aa 2:02>aa 3:03>bb";
    // A stamp that puts a cell's own byte back changes nothing there.
    QTest::newRow("own byte back") << QByteArray("\x0F\x01") << QPoint(0, 0) << QPoint(0, 0) << "0:00>0f";
    QTest::newRow("off the map") << QByteArray("\xEE") << QPoint(4, 2) << QPoint(9, 3) << "16:24>ee 17:25>ee";
}

void TestStampShapes::stampAlongALine()
{
    QFETCH(QByteArray, stamp);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QString, changes);
    const SmallMap m;
    BlockRegion region{int(stamp.size()), 1, std::vector<quint8>(stamp.cbegin(), stamp.cend()), 1};
    QCOMPARE(edits(stampAlong(MapGrid(m.map, 6, 3), region, lineCells(from, to))), changes);
}

void TestStampShapes::shapedStampWritesOnlyItsShape_data()
{
    // An L of three cells, A0 over B0 B1; its fourth cell lies outside it:
    //   A0 ..
    //   B0 B1
    QTest::addColumn<QString>("flips");   // applied in turn: x left to right, y top to bottom
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");       // == from: one click, else a Shift+click line
    QTest::addColumn<QString>("rows");    // the map's three rows afterwards
    QTest::newRow("flip x") << "x" << QPoint(1, 0) << QPoint(1, 0)
                            << "00 01 A0 03 04 05 / 10 B1 B0 13 14 15 / 20 21 22 23 24 25";
    QTest::newRow("flip y") << "y" << QPoint(3, 1) << QPoint(3, 1)
                            << "00 01 02 03 04 05 / 10 11 12 B0 B1 15 / 20 21 22 A0 24 25";
    QTest::newRow("flip x and y") << "xy" << QPoint(0, 1) << QPoint(0, 1)
                                  << "00 01 02 03 04 05 / B1 B0 12 13 14 15 / 20 A0 22 23 24 25";
    // The later stamp's empty corner falls on the earlier one's B1.
    QTest::newRow("line down") << "" << QPoint(0, 0) << QPoint(0, 1)
                               << "A0 01 02 03 04 05 / A0 B1 12 13 14 15 / B0 B1 22 23 24 25";
    QTest::newRow("flip x, line across") << "x" << QPoint(3, 0) << QPoint(4, 0)
                                         << "00 01 02 03 A0 A0 / 10 11 12 B1 B1 B0 / 20 21 22 23 24 25";
}

void TestStampShapes::shapedStampWritesOnlyItsShape()
{
    QFETCH(QString, flips);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QString, rows);
    SmallMap m;
    BlockRegion stamp{2, 2, {0xA0, 0x00, 0xB0, 0xB1}, 1, {1, 0, 1, 1}};
    for (const QChar flip : flips)
        stamp = flippedRegion(stamp, flip == QLatin1Char('x'));
    const MapGrid grid(m.map, 6, 3);
    const CellEdits cells = from == to ? pasteClipped(grid, stamp, from, CellMask()) : stampAlong(grid, stamp, lineCells(from, to));
    for (const CellEdit& e : cells)
        QVERIFY(m.map.paintCell(e.cell, e.after));
    QStringList out;
    for (int y = 0; y < 3; ++y)
        out << QByteArray(reinterpret_cast<const char*>(m.map.MapBytes.data()) + 6 * y, 6).toHex(' ').toUpper();
    QCOMPARE(out.join(QLatin1String(" / ")), rows);
}

void TestStampShapes::clipboardOrigin_data()
{
    QTest::addColumn<QByteArray>("payload");   // empty: no origin on the clipboard
    QTest::addColumn<QPoint>("origin");        // (-1, -1): none read
    QTest::newRow("sound") << QByteArray::fromHex("0000000700000102") << QPoint(7, 258);
    QTest::newRow("missing") << QByteArray() << QPoint(-1, -1);
    QTest::newRow("short") << QByteArray::fromHex("00000007000001") << QPoint(-1, -1);
    QTest::newRow("negative") << QByteArray::fromHex("FFFFFFFF00000001") << QPoint(-1, -1);
    QTest::newRow("past any map") << QByteArray::fromHex("000001FF00000000") << QPoint(-1, -1);
}

void TestStampShapes::clipboardOrigin()
{
    QFETCH(QByteArray, payload);
    QFETCH(QPoint, origin);
    QMimeData data;
    if (!payload.isEmpty())
        data.setData(QLatin1String(RegionOriginMimeType), payload);
    QCOMPARE(regionOrigin(data).value_or(QPoint(-1, -1)), origin);
    // What is written reads back.
    setRegionOrigin(data, QPoint(3, 500));
    QCOMPARE(regionOrigin(data), std::optional<QPoint>(QPoint(3, 500)));
}

QTEST_MAIN(TestStampShapes)
#include "tst_stamp_shapes.moc"
