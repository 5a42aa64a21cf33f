// The region operations on a map's cells and the clipboard formats.
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
}

class TestMapRegion : public QObject {
    Q_OBJECT
private slots:
    void floodFill_data();
    void floodFill();
    void pasteIsClippedAtEveryEdge_data();
    void pasteIsClippedAtEveryEdge();
    void rectangleFillAndCopy();
    void textRoundTrip_data();
    void textRoundTrip();
    void textThatIsNoBlocksIsRefused_data();
    void textThatIsNoBlocksIsRefused();
    void ownFormatOrText_data();
    void ownFormatOrText();
};

void TestMapRegion::floodFill_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("readBytes");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QRect>("limit");
    QTest::addColumn<bool>("stamp");
    QTest::addColumn<QString>("after");
    const QString plus = QStringLiteral("01 02 01 01 / 02 02 02 01 / 01 02 01 01");
    QTest::newRow("4-connected, not diagonal") << plus << -1 << QPoint(1, 1) << QRect() << false
                                               << "01 07 01 01 / 07 07 07 01 / 01 07 01 01";
    QTest::newRow("a corner region stays apart") << plus << -1 << QPoint(0, 0) << QRect() << false
                                                 << "07 02 01 01 / 02 02 02 01 / 01 02 01 01";
    QTest::newRow("around a bend") << plus << -1 << QPoint(3, 0) << QRect() << false
                                   << "01 02 07 07 / 02 02 02 07 / 01 02 07 07";
    QTest::newRow("inside the selection") << plus << -1 << QPoint(1, 1) << QRect(1, 0, 3, 2) << false
                                          << "01 07 01 01 / 02 07 07 01 / 01 02 01 01";
    QTest::newRow("start outside the selection") << plus << -1 << QPoint(0, 1) << QRect(1, 0, 3, 2) << false
                                                 << "01 02 01 01 / 02 02 02 01 / 01 02 01 01";
    QTest::newRow("already the new byte") << "07 07 / 07 07" << -1 << QPoint(0, 0) << QRect() << false
                                          << "07 07 / 07 07";
    QTest::newRow("stamp repeated from the cell clicked")
        << "05 05 05 / 05 05 05 / 05 05 05" << -1 << QPoint(1, 1) << QRect() << true
        << "a4 a3 a4 / a2 a1 a2 / a4 a3 a4";
    QTest::newRow("a stamp holding the old byte") << "a1 a1 / a1 a1" << -1 << QPoint(0, 0) << QRect() << true
                                                  << "a1 a2 / a3 a4";
    QTest::newRow("cells past the bytes read stay") << "03 03 / 03 03" << 3 << QPoint(0, 0) << QRect() << false
                                                     << "07 07 / 07 00";
}

void TestMapRegion::floodFill()
{
    QFETCH(QString, rows);
    QFETCH(int, readBytes);
    QFETCH(QPoint, start);
    QFETCH(QRect, limit);
    QFETCH(bool, stamp);
    QFETCH(QString, after);
    Grid g(rows.toLatin1().constData(), readBytes);
    const CellEdits edits = g.grid().floodFill(start, stamp ? region2x2() : BlockRegion::single(7), limit);
    for (const CellEdit& e : edits)
        QVERIFY(e.before != e.after);   // only changes are kept
    QCOMPARE(g.after(edits), after);
}

void TestMapRegion::pasteIsClippedAtEveryEdge_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("after");
    QTest::newRow("inside") << QPoint(1, 0) << "00 a1 a2 / 00 a3 a4 / 00 00 00";
    QTest::newRow("left") << QPoint(-1, 0) << "a2 00 00 / a4 00 00 / 00 00 00";
    QTest::newRow("top") << QPoint(0, -1) << "a3 a4 00 / 00 00 00 / 00 00 00";
    QTest::newRow("right") << QPoint(2, 1) << "00 00 00 / 00 00 a1 / 00 00 a3";
    QTest::newRow("bottom") << QPoint(1, 2) << "00 00 00 / 00 00 00 / 00 a1 a2";
    QTest::newRow("bottom-right corner") << QPoint(2, 2) << "00 00 00 / 00 00 00 / 00 00 a1";
    QTest::newRow("wholly off the map") << QPoint(-2, 5) << "00 00 00 / 00 00 00 / 00 00 00";
}

void TestMapRegion::pasteIsClippedAtEveryEdge()
{
    QFETCH(QPoint, at);
    QFETCH(QString, after);
    Grid g("00 00 00 / 00 00 00 / 00 00 00");
    QCOMPARE(g.after(g.grid().paste(region2x2(), at)), after);
}

void TestMapRegion::rectangleFillAndCopy()
{
    Grid g("01 02 03 / 04 05 06 / 07 08 09");
    const BlockRegion copied = g.grid().copy(cellSpan(QPoint(2, 2), QPoint(1, 0)), 4);   // dragged backwards
    QCOMPARE(copied, (BlockRegion{2, 3, {0x02, 0x03, 0x05, 0x06, 0x08, 0x09}, 4}));
    QCOMPARE(g.grid().copy(QRect(2, 2, 5, 5), 4), (BlockRegion{1, 1, {0x09}, 4}));
    // The pattern starts at the rectangle's corner; cells off the map are left out.
    QCOMPARE(g.after(g.grid().fillRect(QRect(1, 1, 4, 4), region2x2())), QStringLiteral("01 02 03 / 04 a1 a2 / 07 a3 a4"));
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

QTEST_GUILESS_MAIN(TestMapRegion)
#include "tst_map_region.moc"
