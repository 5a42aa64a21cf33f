// Tiled maps read back: the checks that refuse a map (and leave the map and
// its events as they were), every layer format, an edited map changing only
// what was edited, and the file names maps are written under.
#include "model/catalogue/map_record.h"
#include "model/events/event_tables.h"
#include "model/map/map_state.h"
#include "model/rom/rom_image.h"
#include "model/tiled/tiled_names.h"
#include "model/tiled/tmx_apply.h"
#include "model/tiled/tmx_layer_data.h"
#include "model/tiled/tmx_reader.h"
#include "model/tiled/tmx_writer.h"

#include <QtTest>
#include <zlib.h>

namespace {

// A 4 x 3 map of tileset 2 (blocks 0 to 6) at offset 100, one event of each kind.
struct Pond {
    MapRecord record;
    MapState map;
    EventState events;

    Pond()
    {
        record.name = QStringLiteral("Pond");
        record.MapStart = 100;
        record.MapEnd = 111;
        record.MapWidth = 4;
        record.MapHeight = 3;
        record.TilesetNumber = 2;
        record.TilesetBlocks = 5;
        RomImage rom;
        QByteArray bytes(200, '\0');
        for (int i = 0; i < 12; ++i)
            bytes[100 + i] = char(1 + i % 6);   // rows 1 2 3 4 / 5 6 1 2 / 3 4 5 6
        rom.setBytes(bytes);
        map.readMap(rom, record);
        events.WarpCount = events.SingpostCount = events.PeopleCount = 1;
        events.WarpTable[1] = {2, 1, 3, 4, 5};
        events.SingpostTable[1] = {0, 3, 0, 7, 8};
        events.PeopleTable[1] = {9, 1, 2, 1, 2, 255, 255, 0, 0, 10, 11, 255, 255};
    }
    QString tmx() const { return QString::fromUtf8(writeTmx({record, map, events, QStringLiteral("Lakes")})); }
};

QString applyText(const QString& text, Pond& pond)
{
    TmxMap tmx;
    QString error;
    if (!readTmx(text.toUtf8(), &tmx, &error))
        return error;
    return applyTmx(tmx, pond.record, pond.map, pond.events);
}

QByteArray eventBytes(const EventState& e)
{
    QByteArray bytes;
    bytes.append(reinterpret_cast<const char*>(&e.WarpTable[1]), sizeof(TWarpRecord));
    bytes.append(reinterpret_cast<const char*>(&e.SingpostTable[1]), sizeof(TSingpostRecord));
    bytes.append(reinterpret_cast<const char*>(&e.PeopleTable[1]), sizeof(TPeopleRecord));
    return bytes;
}

QByteArray mapBytes(const MapState& map)
{
    return QByteArray(reinterpret_cast<const char*>(map.MapBytes.data()), 12);
}

QByteArray littleEndian(const QList<quint32>& ids)
{
    QByteArray bytes;
    for (quint32 id : ids)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(char(id >> shift));
    return bytes;
}

QByteArray deflated(const QByteArray& raw, int windowBits)
{
    z_stream stream{};
    deflateInit2(&stream, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(raw.size()))) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
    stream.avail_in = uInt(raw.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

} // namespace

class TestTiledMaps : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void layerData_data();
    void layerData();
    void editedMap();
    void fileNames_data();
    void fileNames();
};

void TestTiledMaps::refusals_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("refusal");   // empty: taken

    const QString objectsEnd = QStringLiteral("</objectgroup>");
    QTest::newRow("as written") << "" << "" << "";
    QTest::newRow("class for type") << "type=\"Warp\"" << "class=\"Warp\"" << "";
    QTest::newRow("another size") << "width=\"4\" height=\"3\"" << "width=\"3\" height=\"4\""
                                  << "The map is 3 x 4 blocks; Pond is 4 x 3.";
    QTest::newRow("another start") << "value=\"100\"" << "value=\"101\""
                                   << "The map was written for start offset 101; Pond starts at 100.";
    QTest::newRow("larger than any map") << "width=\"4\" height=\"3\" tilewidth"
                                         << "width=\"4294967296\" height=\"4294967296\" tilewidth"
                                         << "Its size of 4294967296 x 4294967296 tiles is no map size";
    QTest::newRow("infinite") << "infinite=\"0\"" << "infinite=\"1\"" << "It is an infinite map";
    QTest::newRow("flipped") << "\n2,3,4,5," << "\n2147483650,3,4,5,"
                             << "Cell (0, 0) holds a flipped or rotated tile.";
    QTest::newRow("rotated") << ",4,5,\n6,7" << ",4,5,\n6,536870919" << "Cell (1, 1) holds a flipped or rotated tile.";
    QTest::newRow("empty") << "\n6,7,2,3,\n" << "\n6,7,2,0,\n" << "Cell (3, 1) is empty.";
    QTest::newRow("past the blocks") << "\n2,3,4,5," << "\n8,3,4,5," << "Cell (0, 0) holds block 7; tileset 2 has "
                                                                        "blocks 0 to 6.";
    const QString ownTileset = QStringLiteral("<tileset firstgid=\"1\" source=\"tileset-2.tsx\"/>");
    QTest::newRow("another tileset") << ownTileset << ownTileset + "<tileset firstgid=\"5\" source=\"other.tsx\"/>"
                                     << "Cell (3, 0) holds a tile of another tileset.";
    QTest::newRow("tileset of another number") << "tileset-2.tsx" << "tileset-3.tsx"
                                               << "The map does not use the tileset tileset-2.tsx of tileset 2.";
    QTest::newRow("one event more") << "type=\"Signpost\"" << "type=\"Warp\""
                                    << "The layer \"Events\" holds 2 Warp objects; the map has 1";
    QTest::newRow("an object of no kind")
        << objectsEnd << "<object id=\"9\" name=\"1\" type=\"Door\" x=\"0\" y=\"0\"/>" + objectsEnd
        << "Object \"1\" of the layer \"Events\" has the type \"Door\", not Warp, Signpost or Person.";
    QTest::newRow("a byte too large") << "\"Warp To\" type=\"int\" value=\"3\"" << "\"Warp To\" type=\"int\" value=\"256\""
                                      << "Warp \"1\" has Warp To \"256\"; a byte holds 0 to 255.";
    QTest::newRow("a byte below 0") << "\"Text Bank\" type=\"int\" value=\"8\"" << "\"Text Bank\" type=\"int\" value=\"-1\""
                                    << "Signpost \"1\" has Text Bank \"-1\"; a byte holds 0 to 255.";
    QTest::newRow("no number") << "\"Facing\" type=\"int\" value=\"1\"" << "\"Facing\" type=\"int\" value=\"up\""
                               << "Person \"1\" has Facing \"up\"; a byte holds 0 to 255.";
    QTest::newRow("off the squares") << "type=\"Warp\" x=\"64\"" << "type=\"Warp\" x=\"-64\""
                                     << "Warp \"1\" lies at (-64, 128), outside squares 0 to 255.";
    QTest::newRow("no such record") << "name=\"1\" type=\"Person\"" << "name=\"2\" type=\"Person\""
                                    << "Person \"2\" is named for no record: the map's Persons are 1 to 1.";
    QTest::newRow("not XML") << "</map>" << "</mapp>" << "It is not a TMX map";
}

void TestTiledMaps::refusals()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, refusal);
    Pond pond;
    const QByteArray bytesBefore = mapBytes(pond.map), eventsBefore = eventBytes(pond.events);
    QString text = pond.tmx();
    if (!from.isEmpty()) {
        QVERIFY2(text.contains(from), qPrintable(from));
        text.replace(from, to);
    }
    const QString said = applyText(text, pond);
    if (refusal.isEmpty())
        QCOMPARE(said, QString());
    else
        QVERIFY2(said.startsWith(refusal), qPrintable(said));
    QCOMPARE(mapBytes(pond.map), bytesBefore);
    QCOMPARE(eventBytes(pond.events), eventsBefore);
}

void TestTiledMaps::layerData_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("compression");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");   // empty: the ids 1, 2, 70000, 0x80000003

    const QByteArray raw = littleEndian({1, 2, 70000, 0x80000003});
    QTest::newRow("csv") << "csv" << "" << "\n1,2,\n70000,2147483651\n" << "";
    QTest::newRow("base64") << "base64" << "" << QString::fromLatin1(raw.toBase64()) << "";
    QTest::newRow("zlib") << "base64" << "zlib" << QString::fromLatin1(deflated(raw, MAX_WBITS).toBase64()) << "";
    QTest::newRow("gzip") << "base64" << "gzip" << QString::fromLatin1(deflated(raw, MAX_WBITS + 16).toBase64())
                          << "";
    QTest::newRow("csv short") << "csv" << "" << "1,2,3" << "The layer data holds 3 tile ids, not 4.";
    QTest::newRow("csv long") << "csv" << "" << "1,2,3,4,5" << "The layer data holds more than 4 tile ids.";
    QTest::newRow("csv word") << "csv" << "" << "1,2,x,4" << "The layer data holds \"x\", which is no tile id.";
    QTest::newRow("base64 short") << "base64" << "" << QString::fromLatin1(raw.left(12).toBase64())
                                  << "The layer data holds 12 bytes, not the 16 of 4 tile ids.";
    QTest::newRow("base64 broken") << "base64" << "" << "AAA*" << "The layer data is not valid Base64.";
    QTest::newRow("zlib cut") << "base64" << "zlib"
                              << QString::fromLatin1(deflated(raw, MAX_WBITS).chopped(3).toBase64())
                              << "The layer data is not zlib data of 4 tile ids.";
    QTest::newRow("zlib short") << "base64" << "zlib"
                                << QString::fromLatin1(deflated(raw.left(12), MAX_WBITS).toBase64())
                                << "The layer data is not zlib data of 4 tile ids.";
    QTest::newRow("zlib long") << "base64" << "zlib"
                               << QString::fromLatin1(deflated(raw + raw, MAX_WBITS).toBase64())
                               << "The layer data is not zlib data of 4 tile ids.";
    QTest::newRow("gzip as zlib") << "base64" << "zlib"
                                  << QString::fromLatin1(deflated(raw, MAX_WBITS + 16).toBase64())
                                  << "The layer data is not zlib data of 4 tile ids.";
    QTest::newRow("zstd") << "base64" << "zstd" << QString::fromLatin1(raw.toBase64())
                          << "The layer data's compression \"zstd\" is not read";
    QTest::newRow("xml") << "json" << "" << "" << "The layer data's encoding \"json\" is not read";
}

void TestTiledMaps::layerData()
{
    QFETCH(QString, encoding);
    QFETCH(QString, compression);
    QFETCH(QString, text);
    QFETCH(QString, error);
    std::vector<quint32> cells;
    QString said;
    const bool read = decodeLayerData(encoding, compression, text, 4, &cells, &said);
    QCOMPARE(read, error.isEmpty());
    if (read)
        QCOMPARE(cells, (std::vector<quint32>{1, 2, 70000, 0x80000003}));
    else
        QVERIFY2(said.startsWith(error), qPrintable(said));
}

// A map edited as a user edits it in Tiled: two cells painted, an event
// moved and a property changed; nothing else of the map or events changes.
void TestTiledMaps::editedMap()
{
    Pond pond;
    QString text = pond.tmx();
    text.replace(QStringLiteral("\n2,3,4,5,\n6,7,2,3,\n"), QStringLiteral("\n2,3,4,5,\n1,7,2,7,\n"));
    text.replace(QStringLiteral("type=\"Person\" x=\"128\" y=\"64\""), QStringLiteral("type=\"Person\" x=\"200\" y=\"10\""));
    text.replace(QStringLiteral("\"Map Bank\" type=\"int\" value=\"4\""), QStringLiteral("\"Map Bank\" type=\"int\" value=\"44\""));
    QCOMPARE(applyText(text, pond), QString());
    QCOMPARE(mapBytes(pond.map), QByteArray::fromHex("010203040006010603040506"));
    QCOMPARE(eventBytes(pond.events),
             QByteArray::fromHex("020103" "2c05" "0003000708" "09" "0003" "0102ffff00000a0bffff"));
}

void TestTiledMaps::fileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "Mossbrook Town" << "Mossbrook Town";
    QTest::newRow("separators") << "Route 1/2: \"North\"?" << "Route 1_2_ _North__";
    QTest::newRow("control") << "a\tb" << "a_b";
    QTest::newRow("trailing dot") << "St." << "St_";
    QTest::newRow("trailing space") << "Cave " << "Cave_";
    QTest::newRow("device") << "CON" << "_CON";
    QTest::newRow("device with extension") << "com1.map" << "_com1.map";
    QTest::newRow("not a device") << "CONSOLE" << "CONSOLE";
    QTest::newRow("empty") << "" << "_";
    QTest::newRow("dots") << ".." << "._";
}

void TestTiledMaps::fileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(tiledFileName(name), file);
}

QTEST_GUILESS_MAIN(TestTiledMaps)
#include "tst_tiled_maps.moc"
