// The region operations on a map's cells and the clipboard formats.
#include "model/map/block_uses.h"
#include "model/map/cell_mask.h"
#include "model/map/map_region.h"
#include "model/map/map_state.h"
#include "model/rom/rom_image.h"

#include <QMimeData>
#include <QtTest>

namespace {
// A map given as rows of hexadecimal bytes ("01 02 / 03 04"); `readBytes`
// cells of it were read (the rest lies past the map's bytes).
struct Grid {
    explicit Grid(const char* rows, int readBytes = -1)
    {
        const QStringList lines = QString::fromLatin1(rows).split(QLatin1Char('/'));
        height = int(lines.size());
        QByteArray bytes;
        for (const QString& line : lines) {
            const QStringList words = line.simplified().split(QLatin1Char(' '));
            width = int(words.size());
            for (const QString& w : words)
                bytes.append(char(w.toInt(nullptr, 16)));
        }
        if (readBytes >= 0)
            bytes.truncate(readBytes);
        RomImage rom;
        rom.setBytes(bytes + QByteArray(16, '\0'));
        MapRecord record;
        record.name = QStringLiteral("M");
        record.MapEnd = qint32(bytes.size()) - 1;
        record.MapWidth = width;
        record.MapHeight = height;
        map.readMap(rom, record);
    }
    MapGrid grid() const { return MapGrid(map, width, height); }
    // The rows after `edits`, as written in the table.
    QString after(const CellEdits& edits)
    {
        for (const CellEdit& e : edits)
            map.MapBytes[size_t(e.cell)] = e.after;
        QStringList rows;
        for (int y = 0; y < height; ++y) {
            QStringList row;
            for (int x = 0; x < width; ++x)
                row << QStringLiteral("%1").arg(map.MapBytes[size_t(y * width + x)], 2, 16, QLatin1Char('0'));
            rows << row.join(QLatin1Char(' '));
        }
        return rows.join(QStringLiteral(" / "));
    }
    MapState map;
    int width = 0, height = 0;
};

BlockRegion region2x2() { return BlockRegion{2, 2, {0xA1, 0xA2, 0xA3, 0xA4}, 3}; }

// A selection written as rows of "x" (selected) and "." ("x.. / .x."), and back.
CellMask mask(const char* rows)
{
    const QStringList lines = QString::fromLatin1(rows).split(QLatin1Char('/'));
    CellMask cells(int(lines.first().trimmed().size()), int(lines.size()));
    for (int y = 0; y < lines.size(); ++y)
        for (int x = 0; x < lines[y].trimmed().size(); ++x)
            if (lines[y].trimmed()[x] == QLatin1Char('x'))
                cells.insert(QPoint(x, y));
    return cells;
}
QString rows(const CellMask& cells)
{
    QStringList lines;
    for (int y = 0; y < cells.height(); ++y) {
        QString line;
        for (int x = 0; x < cells.width(); ++x)
            line += cells.contains(QPoint(x, y)) ? QLatin1Char('x') : QLatin1Char('.');
        lines << line;
    }
    return lines.join(QStringLiteral(" / "));
}
}

class TestMapRegion : public QObject {
    Q_OBJECT
private slots:
    void floodFill_data();
    void floodFill();
    void textRoundTrip_data();
    void textRoundTrip();
    void textThatIsNoBlocksIsRefused_data();
    void textThatIsNoBlocksIsRefused();
    void ownFormatOrText_data();
    void ownFormatOrText();
    void selectionsOfAnyShape_data();
    void selectionsOfAnyShape();
    void operationsOnAMask_data();
    void operationsOnAMask();
    void maskOnTheClipboard_data();
    void maskOnTheClipboard();
    void blockUseCount_data();
    void blockUseCount();
};

void TestMapRegion::floodFill_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("readBytes");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QString>("limit");   // a selection as "x" rows, or none
    QTest::addColumn<bool>("stamp");
    QTest::addColumn<QString>("after");
    const QString plus = QStringLiteral("01 02 01 01 / 02 02 02 01 / 01 02 01 01");
    QTest::newRow("4-connected, not diagonal") << plus << -1 << QPoint(1, 1) << "" << false
                                               << "01 07 01 01 / 07 07 07 01 / 01 07 01 01";
    QTest::newRow("a corner region stays apart") << plus << -1 << QPoint(0, 0) << "" << false
                                                 << "07 02 01 01 / 02 02 02 01 / 01 02 01 01";
    QTest::newRow("around a bend") << plus << -1 << QPoint(3, 0) << "" << false
                                   << "01 02 07 07 / 02 02 02 07 / 01 02 07 07";
    QTest::newRow("inside the selection") << plus << -1 << QPoint(1, 1) << ".xxx / .xxx / ...." << false
                                          << "01 07 01 01 / 02 07 07 01 / 01 02 01 01";
    QTest::newRow("a selection's gap cuts the region") << plus << -1 << QPoint(1, 0) << "xx.. / x.xx / .xxx" << false
                                                       << "01 07 01 01 / 02 02 02 01 / 01 02 01 01";
    QTest::newRow("start outside the selection") << plus << -1 << QPoint(0, 1) << ".xxx / .xxx / ...." << false
                                                 << "01 02 01 01 / 02 02 02 01 / 01 02 01 01";
    QTest::newRow("already the new byte") << "07 07 / 07 07" << -1 << QPoint(0, 0) << "" << false
                                          << "07 07 / 07 07";
    QTest::newRow("stamp repeated from the cell clicked")
        << "05 05 05 / 05 05 05 / 05 05 05" << -1 << QPoint(1, 1) << "" << true
        << "a4 a3 a4 / a2 a1 a2 / a4 a3 a4";
    QTest::newRow("a stamp holding the old byte") << "a1 a1 / a1 a1" << -1 << QPoint(0, 0) << "" << true
                                                  << "a1 a2 / a3 a4";
    QTest::newRow("cells past the bytes read stay") << "03 03 / 03 03" << 3 << QPoint(0, 0) << "" << false
                                                     << "07 07 / 07 00";
}

void TestMapRegion::floodFill()
{
    QFETCH(QString, rows);
    QFETCH(int, readBytes);
    QFETCH(QPoint, start);
    QFETCH(QString, limit);
    QFETCH(bool, stamp);
    QFETCH(QString, after);
    Grid g(rows.toLatin1().constData(), readBytes);
    const CellMask within = limit.isEmpty() ? CellMask() : mask(limit.toLatin1().constData());
    const CellEdits edits = floodFillMasked(g.grid(), start, stamp ? region2x2() : BlockRegion::single(7), within);
    for (const CellEdit& e : edits)
        QVERIFY(e.before != e.after);   // only changes are kept
    QCOMPARE(g.after(edits), after);
}

void TestMapRegion::textRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("canonical");
    QTest::newRow("as written") << "0A FF 01\n00 10 7F\n" << "0A FF 01\n00 10 7F\n";
    QTest::newRow("lower case, blanks, no final break") << "  a  ff 1\r\n0 10\t7f" << "0A FF 01\n00 10 7F\n";
    QTest::newRow("one block") << "05" << "05\n";
}

void TestMapRegion::textRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, canonical);
    const std::optional<BlockRegion> region = parseRegionText(text);
    QVERIFY(region);
    QCOMPARE(regionText(*region), canonical);
    QCOMPARE(parseRegionText(canonical), region);
}

void TestMapRegion::textThatIsNoBlocksIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blank lines") << " \n\n";
    QTest::newRow("a word") << "hello";
    QTest::newRow("past a byte") << "100";
    QTest::newRow("a sign") << "-1";
    QTest::newRow("rows of two lengths") << "01 02\n03";
    QTest::newRow("a gap between rows") << "01\n\n02";
}

void TestMapRegion::textThatIsNoBlocksIsRefused()
{
    QFETCH(QString, text);
    QString error;
    QVERIFY(!parseRegionText(text, &error));
    QVERIFY(!error.isEmpty());
}

void TestMapRegion::ownFormatOrText_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");   // 0: refused
    QTest::newRow("own format wins") << regionPayload(region2x2()) << "01" << 2;
    QTest::newRow("short payload: the text") << regionPayload(region2x2()).chopped(1) << "01 02 03" << 3;
    QTest::newRow("oversized width: the text")
        << QByteArray::fromHex("0000ffff00000001000000") << "01" << 1;
    QTest::newRow("neither") << QByteArray("x") << "zz" << 0;
}

void TestMapRegion::ownFormatOrText()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, text);
    QFETCH(int, width);
    QMimeData data;
    data.setData(QLatin1String(RegionMimeType), payload);
    data.setText(text);
    const std::optional<BlockRegion> region = regionFromMimeData(data);
    QCOMPARE(region ? region->width : 0, width);
    if (width == 2)
        QCOMPARE(*region, region2x2());
    // What Copy puts there reads back whole, tileset included.
    std::unique_ptr<QMimeData> copied(regionMimeData(region2x2()));
    QCOMPARE(regionFromMimeData(*copied), region2x2());
    QCOMPARE(copied->text(), QStringLiteral("A1 A2\nA3 A4\n"));
}

void TestMapRegion::selectionsOfAnyShape_data()
{
    QTest::addColumn<QString>("tool");   // same, wand, or the Shift/Ctrl arithmetic on "x" masks
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QString>("selected");
    QTest::newRow("same: every cell read, wherever it lies") << "same" << QPoint(0, 0) << "" << "x.xx / x..x / .xx.";
    QTest::newRow("wand: a diagonal does not join") << "wand" << QPoint(0, 0) << "" << "x... / x... / ....";
    QTest::newRow("wand: around corners, not through a cell never read") << "wand" << QPoint(3, 0) << "" << "..xx / ...x / ....";
    QTest::newRow("wand: a row") << "wand" << QPoint(1, 2) << "" << ".... / .... / .xx.";
    QTest::newRow("wand: inside a limit") << "wand" << QPoint(3, 0) << "xxxx / xxx. / xxxx" << "..xx / .... / ....";
    QTest::newRow("wand: start outside the limit") << "wand" << QPoint(3, 1) << "xxxx / xxx. / xxxx" << ".... / .... / ....";
    QTest::newRow("wand: a cell never read") << "wand" << QPoint(3, 2) << "" << ".... / .... / ....";
}

void TestMapRegion::selectionsOfAnyShape()
{
    QFETCH(QString, tool);
    QFETCH(QPoint, at);
    QFETCH(QString, limit);
    QFETCH(QString, selected);
    // The last cell's byte was not read: it takes part in nothing.
    Grid g("01 02 01 01 / 01 02 02 01 / 02 01 01 01", 11);
    const CellMask within = limit.isEmpty() ? CellMask() : mask(limit.toLatin1().constData());
    const CellMask cells = tool == QLatin1String("same") ? sameBlockCells(g.grid(), g.grid().at(at))
                                                         : connectedCells(g.grid(), at, within);
    QCOMPARE(rows(cells), selected);
    QCOMPARE(cells.count(), int(rows(cells).count(QLatin1Char('x'))));
}

void TestMapRegion::operationsOnAMask_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QPoint>("at");   // where the pattern starts, or the region's top-left cell
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QString>("after");
    // The map is "01 02 03 / 04 05 06 / 07 08 09"; the pattern is region2x2().
    const QString none = QStringLiteral("... / ... / ...");
    QTest::newRow("fill: only the shape") << "fill" << QPoint(0, 0) << ".x. / xxx / .x." << "01 a2 03 / a3 a4 a3 / 07 a2 09";
    QTest::newRow("fill: the pattern from a corner off the map")
        << "fill" << QPoint(-1, -1) << "xx. / xx. / ..." << "a4 a3 03 / a2 a1 06 / 07 08 09";
    QTest::newRow("paste clipped to the shape") << "paste" << QPoint(1, 1) << "x.. / .x. / ..x" << "01 02 03 / 04 a1 06 / 07 08 a4";
    QTest::newRow("paste, no selection: inside") << "paste" << QPoint(1, 0) << none << "01 a1 a2 / 04 a3 a4 / 07 08 09";
    QTest::newRow("paste cut at the left") << "paste" << QPoint(-1, 0) << none << "a2 02 03 / a4 05 06 / 07 08 09";
    QTest::newRow("paste cut at the top") << "paste" << QPoint(0, -1) << none << "a3 a4 03 / 04 05 06 / 07 08 09";
    QTest::newRow("paste cut at the right") << "paste" << QPoint(2, 1) << none << "01 02 03 / 04 05 a1 / 07 08 a3";
    QTest::newRow("paste cut at the bottom") << "paste" << QPoint(1, 2) << none << "01 02 03 / 04 05 06 / 07 a1 a2";
    QTest::newRow("paste at the bottom-right corner") << "paste" << QPoint(2, 2) << none << "01 02 03 / 04 05 06 / 07 08 a1";
    QTest::newRow("paste wholly off the map") << "paste" << QPoint(-2, 5) << none << "01 02 03 / 04 05 06 / 07 08 09";
    QTest::newRow("a masked region pasted leaves its holes")
        << "paste holed" << QPoint(0, 0) << none << "a1 02 03 / a3 a4 06 / 07 08 09";
}

void TestMapRegion::operationsOnAMask()
{
    QFETCH(QString, operation);
    QFETCH(QPoint, at);
    QFETCH(QString, cells);
    QFETCH(QString, after);
    Grid g("01 02 03 / 04 05 06 / 07 08 09");
    const CellMask shape = mask(cells.toLatin1().constData());
    BlockRegion holed = region2x2();
    if (operation == QLatin1String("paste holed"))
        holed.mask = {1, 0, 1, 1};
    const CellEdits edits = operation == QLatin1String("fill") ? fillMasked(g.grid(), shape, region2x2(), at)
                                                               : pasteClipped(g.grid(), holed, at, shape);
    QCOMPARE(g.after(edits), after);
}

void TestMapRegion::maskOnTheClipboard_data()
{
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("payloadSize");
    QTest::newRow("a rectangle: as before") << ".xx / .xx / ..." << "02 03\n05 06\n" << 12 + 4;
    QTest::newRow("a shape: holes as ..") << ".x. / xx. / ..." << ".. 02\n04 05\n" << 12 + 2 * 4;
    QTest::newRow("a ring") << "xxx / x.x / xxx" << "01 02 03\n04 .. 06\n07 08 09\n" << 12 + 2 * 9;
}

void TestMapRegion::maskOnTheClipboard()
{
    QFETCH(QString, cells);
    QFETCH(QString, text);
    QFETCH(int, payloadSize);
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    Grid g("01 02 03 / 04 05 06 / 07 08 09");
    const BlockRegion copied = copyMasked(g.grid(), mask(cells.toLatin1().constData()), 5);
    QCOMPARE(regionText(copied), text);
    QCOMPARE(regionPayload(copied).size(), payloadSize);
    QCOMPARE(parseRegionPayload(regionPayload(copied)), copied);
    QCOMPARE(parseRegionText(text)->mask, copied.mask);
    QCOMPARE(parseRegionText(text)->blocks, copied.blocks);
    // A mask that selects nothing or holds other values than 0 and 1 is no region.
    QByteArray bad = regionPayload(copied);
    if (!copied.mask.empty()) {
        bad[bad.size() - 1] = char(2);
        QVERIFY(!parseRegionPayload(bad));
        QVERIFY(!parseRegionPayload(regionPayload(copied).left(12 + int(copied.blocks.size())) +
                                    QByteArray(int(copied.blocks.size()), '\0')));
    }
    QVERIFY(!parseRegionText(QStringLiteral(".. ..\n.. ..")));
}

void TestMapRegion::blockUseCount_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<qint64>("count");
    // The image: 0x40 bytes of 00, then byte i = i % 3 (block 2 every third cell).
    QTest::newRow("every cell read") << 0x40 << 0x40 + 11 << 4 << 3 << qint64(4);
    QTest::newRow("fewer bytes than cells") << 0x40 << 0x40 + 4 << 4 << 3 << qint64(1);
    QTest::newRow("more bytes than cells") << 0x40 << 0x40 + 30 << 2 << 3 << qint64(2);
    QTest::newRow("the last byte of the image") << 0x40 + 95 << 0x40 + 95 << 1 << 1 << qint64(1);
    QTest::newRow("past the image") << 0x40 + 90 << 0x40 + 101 << 4 << 3 << qint64(-1);
    QTest::newRow("a negative start") << -4 << 7 << 4 << 3 << qint64(-1);
}

void TestMapRegion::blockUseCount()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(qint64, count);
    QByteArray rom(0x40, '\0');
    for (int i = 0; i < 96; ++i)
        rom.append(char(i % 3));
    MapRecord record;
    record.name = QStringLiteral("M");
    record.MapStart = start;
    record.MapEnd = end;
    record.MapWidth = width;
    record.MapHeight = height;
    QCOMPARE(::blockUseCount(rom, record, 2), count);
}

QTEST_GUILESS_MAIN(TestMapRegion)
#include "tst_map_region.moc"
