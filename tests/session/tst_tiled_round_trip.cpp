// Maps out to Tiled and back, with Tiled's own programs as the judge: every
// demo map and a 100 x 100 map, exported, re-saved by `tiled --export-map`
// (as TMX, and through Tiled's JSON format and back; the large map also with
// its layer in Base64, plain, zlib and gzip, which Tiled keeps) and imported into an
// image whose map and event bytes were wiped, give the image byte for byte;
// `tmxrasterizer` draws each exported map, and each category's world map by
// map, with the pixels of Save Map Picture. Skipped where Tiled is missing.
#include "base/ini_file.h"
#include "demo_data.h"
#include "model/catalogue/catalogue.h"
#include "model/events/event_tables.h"
#include "model/map/block_pictures.h"
#include "model/map/map_picture.h"
#include "model/map/map_state.h"
#include "model/map/tileset_build.h"
#include "model/rom/rom_image.h"
#include "session/catalogue_maps.h"
#include "session/map_pick.h"
#include "session/tiled_export.h"
#include "session/tiled_import.h"

#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <zlib.h>

namespace {

constexpr int BigSide = 100;
const QString BigMap = QStringLiteral("Big Field");

// A 100 x 100 map of tileset 1 with 20 warps, signposts and people, appended
// to the demo image.
bool addBigMap(const QString& dir)
{
    const QDir d(dir);
    QFile rom(d.filePath(QStringLiteral("demo.gbc")));
    if (!rom.open(QIODevice::ReadWrite))
        return false;
    const qint64 start = rom.size();
    QByteArray bytes(BigSide * BigSide, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7 + i / BigSide) % 44);   // every block of the tileset and block 0
    const qint64 warps = start + bytes.size(), signposts = warps + 100, people = signposts + 100;
    QByteArray events(100 + 100 + 260, '\0');
    for (int i = 0; i < 20; ++i) {
        events[i * 5] = char(i * 5);
        events[i * 5 + 1] = char(99 - i);
        events[i * 5 + 2] = char(i);
        events[100 + i * 5 + 1] = char(i * 3);
        events[100 + i * 5 + 3] = char(200 + i);
        for (int b = 0; b < 13; ++b)
            events[200 + i * 13 + b] = char(i * 13 + b + 4);
    }
    rom.seek(start);
    if (rom.write(bytes + events) != bytes.size() + events.size())
        return false;
    rom.close();
    IniFile maps(d.filePath(QStringLiteral("Maps.Ini"))), main(d.filePath(QStringLiteral("Main.Ini"))),
        eventsIni(d.filePath(QStringLiteral("Events.ini")));
    return maps.writeStrings(BigMap, {{QStringLiteral("Start offset"), QString::number(start)},
                                      {QStringLiteral("End offset"), QString::number(start + bytes.size() - 1)},
                                      {QStringLiteral("X size"), QString::number(BigSide)},
                                      {QStringLiteral("Y size"), QString::number(BigSide)},
                                      {QStringLiteral("Tileset"), QStringLiteral("1")}})
        && main.writeString(QStringLiteral("Big"), QStringLiteral("1"), BigMap)
        && eventsIni.writeStrings(BigMap, {{QStringLiteral("Warps"), QStringLiteral("20")},
                                           {QStringLiteral("Warp offset"), QString::number(warps)},
                                           {QStringLiteral("Singposts"), QStringLiteral("20")},
                                           {QStringLiteral("Singpost offset"), QString::number(signposts)},
                                           {QStringLiteral("Peoples"), QStringLiteral("20")},
                                           {QStringLiteral("People offset"), QString::number(people)}});
}

} // namespace

class TestTiledRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void pictures_data();
    void pictures();
    void worlds_data();
    void worlds();

private:
    void addMapRows();
    QString rewriteLayer(const QString& map, const QString& compression);
    bool runTiled(const QString& program, const QStringList& arguments);
    QImage mapPicture(const QString& map);
    QString out(const QString& name) const { return QDir(m_dir.path() + QStringLiteral("/out")).filePath(name); }

    QTemporaryDir m_dir;
    QTemporaryDir m_runtime;
    QString m_tiled, m_rasterizer;
    std::unique_ptr<Catalogue> m_catalogue;
    RomImage m_rom;
};

void TestTiledRoundTrip::initTestCase()
{
    m_tiled = QStandardPaths::findExecutable(QStringLiteral("tiled"));
    m_rasterizer = QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer"));
    if (m_tiled.isEmpty() || m_rasterizer.isEmpty())
        QSKIP("Tiled (tiled and tmxrasterizer) is not installed.");
    QImageReader::setAllocationLimit(0);   // the 100 x 100 map is 6400 x 6400 pixels
    QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QString error;
    QVERIFY2(writeDemoData(m_dir.path(), &error), qPrintable(error));
    QVERIFY(addBigMap(m_dir.path()));
    m_catalogue = std::make_unique<Catalogue>(m_dir.path());
    QVERIFY(m_rom.loadFromFile(QDir(m_dir.path()).filePath(QStringLiteral("demo.gbc"))));
    QVERIFY(QDir().mkpath(out(QString())));
    QStringList said;
    QVERIFY(TiledExport(*m_catalogue, m_rom, out(QString())).exportMaps({}, [&](const QString& line) { said << line; }));
    QCOMPARE(said.size(), catalogueMaps(m_catalogue->MainIni).size());   // progress lines only
}

bool TestTiledRoundTrip::runTiled(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("HOME"), m_runtime.path());
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << program << arguments << process.readAllStandardError();
        return false;
    }
    return true;
}

void TestTiledRoundTrip::addMapRows()
{
    QTest::addColumn<QString>("map");
    for (const CatalogueMap& map : catalogueMaps(m_catalogue->MainIni))
        QTest::newRow(qPrintable(map.name)) << map.name;
}

void TestTiledRoundTrip::roundTrip_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("compression");   // null: the CSV layer as exported; empty: Base64 alone
    for (const CatalogueMap& map : catalogueMaps(m_catalogue->MainIni))
        QTest::newRow(qPrintable(map.name)) << map.name << QString();
    for (const QString& compression : {QString(""), QStringLiteral("zlib"), QStringLiteral("gzip")})
        QTest::newRow(qPrintable(BigMap + QStringLiteral(", base64 ") + compression)) << BigMap << compression;
}

// The exported map with its layer in Base64, compressed as asked, as another file.
QString TestTiledRoundTrip::rewriteLayer(const QString& map, const QString& compression)
{
    QFile file(out(map + QStringLiteral(".tmx")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    const QString open = QStringLiteral("<data encoding=\"csv\">");
    const qsizetype from = text.indexOf(open), to = text.indexOf(QStringLiteral("</data>"));
    QByteArray ids;
    for (const QString& id : text.mid(from + open.size(), to - from - open.size()).split(QLatin1Char(','))) {
        const quint32 gid = id.trimmed().toUInt();
        for (int shift = 0; shift < 32; shift += 8)
            ids.append(char(gid >> shift));
    }
    if (!compression.isEmpty()) {
        z_stream stream{};
        deflateInit2(&stream, 6, Z_DEFLATED, compression == QStringLiteral("gzip") ? 31 : 15, 8, Z_DEFAULT_STRATEGY);
        QByteArray packed(int(deflateBound(&stream, uLong(ids.size()))) + 32, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(ids.data());
        stream.avail_in = uInt(ids.size());
        stream.next_out = reinterpret_cast<Bytef*>(packed.data());
        stream.avail_out = uInt(packed.size());
        deflate(&stream, Z_FINISH);
        packed.resize(qsizetype(stream.total_out));
        deflateEnd(&stream);
        ids = packed;
    }
    const QString data = QStringLiteral("<data encoding=\"base64\"%1>%2")
                             .arg(compression.isEmpty() ? QString() : QStringLiteral(" compression=\"%1\"").arg(compression),
                                  QString::fromLatin1(ids.toBase64()));
    text.replace(from, to - from, data);
    const QString path = out(QStringLiteral("base64 %1-%2.tmx").arg(compression, map));
    QFile rewritten(path);
    if (!rewritten.open(QIODevice::WriteOnly) || rewritten.write(text.toUtf8()) <= 0)
        return {};
    return path;
}

void TestTiledRoundTrip::roundTrip()
{
    QFETCH(QString, map);
    QFETCH(QString, compression);
    const QString exported = compression.isNull() ? out(map + QStringLiteral(".tmx")) : rewriteLayer(map, compression);
    QVERIFY(!exported.isEmpty());
    const QString stem = QFileInfo(exported).completeBaseName();
    const QString resaved = out(QStringLiteral("resaved-") + stem + QStringLiteral(".tmx"));
    const QString json = out(QStringLiteral("json-") + stem + QStringLiteral(".tmj"));
    const QString fromJson = out(QStringLiteral("from-json-") + stem + QStringLiteral(".tmx"));
    QVERIFY(runTiled(m_tiled, {QStringLiteral("--new-instance"), QStringLiteral("--export-map"), exported, resaved}));
    QVERIFY(runTiled(m_tiled, {QStringLiteral("--new-instance"), QStringLiteral("--export-map"), exported, json}));
    QVERIFY(runTiled(m_tiled, {QStringLiteral("--new-instance"), QStringLiteral("--export-map"), json, fromJson}));

    // The map's bytes and its event tables wiped: only the import brings them back.
    const MapRecord record = readMapRecord(*m_catalogue, map);
    EventState events;
    QCOMPARE(loadEventTables(m_catalogue->EventsIni, map, m_rom, events), QString());
    QByteArray wiped = m_rom.bytes();
    wiped.replace(record.MapStart, int(record.byteCount()), QByteArray(int(record.byteCount()), '\0'));
    wiped.replace(events.WarpOffset, events.WarpCount * WarpRecordSize, QByteArray(events.WarpCount * 5, '\0'));
    wiped.replace(events.SingpostOffset, events.SingpostCount * 5, QByteArray(events.SingpostCount * 5, '\0'));
    wiped.replace(events.PeopleOffset, events.PeopleCount * 13, QByteArray(events.PeopleCount * 13, '\0'));
    QVERIFY(wiped != m_rom.bytes());
    if (!compression.isNull()) {
        QFile file(resaved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray kept = compression.isEmpty() ? QByteArray("<data encoding=\"base64\">")
                                                      : "compression=\"" + compression.toLatin1() + '"';
        QVERIFY(file.readAll().contains(kept));   // Tiled kept the layer's format
    }
    for (const QString& file : {exported, resaved, fromJson}) {
        const TiledImport imported = importTiled(*m_catalogue, wiped, {file});
        QCOMPARE(imported.refusal, QString());
        QCOMPARE(imported.maps, QStringList{map});
        QVERIFY2(imported.image == m_rom.bytes(), qPrintable(file));
    }
}

QImage TestTiledRoundTrip::mapPicture(const QString& map)
{
    QString problem;
    const std::optional<PreparedPick> pick = prepareMapPick(*m_catalogue, m_rom, map, true, &problem);
    if (!pick)
        return {};
    BlockPictures pictures;
    buildTileset(m_rom, pick->record, pick->picture, pictures);
    MapState bytes;
    bytes.readMap(m_rom, pick->record);
    const QString path = out(QStringLiteral("picture-") + map + QStringLiteral(".png"));
    QString error;
    if (!writeMapPicture(pick->record, bytes, pictures, false, path, &error, 1))
        return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

void TestTiledRoundTrip::pictures_data()
{
    addMapRows();
}

void TestTiledRoundTrip::pictures()
{
    QFETCH(QString, map);
    const QString drawn = out(QStringLiteral("drawn-") + map + QStringLiteral(".png"));
    QVERIFY(runTiled(m_rasterizer, {QStringLiteral("--show-layer"), QStringLiteral("Blocks"),
                                    out(map + QStringLiteral(".tmx")), drawn}));
    const QImage expected = mapPicture(map);
    QVERIFY(!expected.isNull());
    QVERIFY(QImage(drawn).convertToFormat(QImage::Format_RGB32) == expected);
}

void TestTiledRoundTrip::worlds_data()
{
    QTest::addColumn<QString>("category");
    QStringList seen;
    for (const CatalogueMap& map : catalogueMaps(m_catalogue->MainIni))
        if (!seen.contains(map.category)) {
            seen << map.category;
            QTest::newRow(qPrintable(map.category)) << map.category;
        }
}

void TestTiledRoundTrip::worlds()
{
    QFETCH(QString, category);
    const QString world = out(category + QStringLiteral(".world"));
    const QString drawn = out(QStringLiteral("world-") + category + QStringLiteral(".png"));
    QVERIFY(runTiled(m_rasterizer, {QStringLiteral("--show-layer"), QStringLiteral("Blocks"), world, drawn}));
    const QImage picture = QImage(drawn).convertToFormat(QImage::Format_RGB32);
    QFile file(world);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonArray maps = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("maps")).toArray();
    QStringList names;
    for (const QString& map : categoryMaps(m_catalogue->MainIni, category))
        names << map;
    QCOMPARE(maps.size(), names.size());
    for (qsizetype i = 0; i < maps.size(); ++i) {
        const QJsonObject entry = maps.at(i).toObject();
        QCOMPARE(entry.value(QStringLiteral("fileName")).toString(), names.at(i) + QStringLiteral(".tmx"));
        const QImage expected = mapPicture(names.at(i));
        const QRect place(entry.value(QStringLiteral("x")).toInt(), entry.value(QStringLiteral("y")).toInt(),
                          expected.width(), expected.height());
        QVERIFY2(picture.rect().contains(place), qPrintable(names.at(i)));
        QVERIFY2(picture.copy(place) == expected, qPrintable(names.at(i)));
    }
}

QTEST_GUILESS_MAIN(TestTiledRoundTrip)
#include "tst_tiled_round_trip.moc"
