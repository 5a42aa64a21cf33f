// The example scripts on the demo data: what they log and what they write,
// against bytes worked out here from the catalogue's numbers or written out.
#include "script/script_run.h"
#include "base/ini_file.h"
#include "demo_data.h"
#include "support/test_files.h"

#include <QtTest>

namespace {

struct DemoMap {
    QString name;
    qint64 start;
    int width, height, tileset;
    qint64 wild, warps, people;
    int peopleCount;
};

} // namespace

class TestScriptExamples : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void runs_data();
    void runs();

private:
    TestDir dir;
    QByteArray demo;
    QList<DemoMap> maps;   // in catalogue order
};

void TestScriptExamples::initTestCase()
{
    QString error;
    QVERIFY2(writeDemoData(dir.path(), &error), qPrintable(error));
    demo = dir.read(QStringLiteral("demo.gbc"));
    const IniFile main(dir.file("Main.Ini")), mapsIni(dir.file("Maps.Ini")), tilesets(dir.file("Tilesets.ini")),
        critters(dir.file("Critters.ini")), events(dir.file("Events.ini"));
    for (const QString& category : main.sections())
        for (const QString& key : main.keys(category)) {
            const QString name = main.readString(category, key);
            maps.append({name, mapsIni.readInteger(name, "Start offset"), mapsIni.readInteger(name, "X size"),
                         mapsIni.readInteger(name, "Y size"), mapsIni.readInteger(name, "Tileset"),
                         critters.readInteger(name, "Start offset"), events.readInteger(name, "Warp offset"),
                         events.readInteger(name, "People offset"), events.readInteger(name, "Peoples")});
        }
    QCOMPARE(maps.size(), 7);
}

void TestScriptExamples::runs_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QByteArray>("after");

    // The creature numbers of the 105 wild slots after a shuffle, in catalogue
    // order, as the script wrote them once. Seed 42's first draw is 0.601: the
    // 64th number (30) goes to the last slot.
    const QList<QPair<int, QByteArray>> shuffles = {
        {42, QByteArray::fromHex("2b0d0f23192c160f2413260a1025312e2a232a1d13280a2a0b172520172b1a142f2414"
                                 "100f33222f141d1f2d2c0a1d122d1d14301325281d150f0f1a2c0f0d17141813111f10"
                                 "1720141b0c272e2e1529150e1e0f1f130e152d2c31101f231517291a151413252c161e")},
        {7, QByteArray::fromHex("171e2f1a19232c241b1d1014201117182a132a10232e2f2a250b0d0e17250f2c29102c"
                                "132e120f132e0f241d1a2223100d15292d0a0f0f1a301d2b2d172c20311528270e251f"
                                "1d1f1e33171f0f1d162d0c0f1426152b1428141313142c15142515151613141f310a0a")}};
    for (const auto& [seed, numbers] : shuffles) {
        QList<qint64> offsets;   // of the number bytes, in the script's order
        for (const DemoMap& m : maps)
            for (int slot = 0; m.wild && slot < 21; ++slot)
                offsets << m.wild + 2 * slot + 1;
        QCOMPARE(offsets.size(), numbers.size());
        QByteArray after = demo;
        for (qsizetype k = 0; k < offsets.size(); ++k)
            after[offsets[k]] = numbers[k];
        QTest::addRow("wild shuffle, seed %d", seed)
            << "wild_shuffle.js" << QStringList{QString::number(seed)} << demo
            << QStringList{QStringLiteral("shuffled 105 wild slots with seed %1").arg(seed)} << after;
    }

    for (int tileset : {1, 2}) {
        // The first block of the tileset's first map, made 200 everywhere in the tileset.
        const qint64 first = std::find_if(maps.begin(), maps.end(), [&](const DemoMap& m) { return m.tileset == tileset; })->start;
        const int from = quint8(demo.at(first));
        QByteArray after = demo;
        QStringList log;
        int total = 0;
        for (const DemoMap& m : maps) {
            if (m.tileset != tileset)
                continue;
            int count = 0;
            for (qint64 at = m.start; at < m.start + m.width * m.height; ++at)
                if (quint8(demo.at(at)) == from) {
                    after[at] = char(200);
                    ++count;
                }
            log << QStringLiteral("%1: %2").arg(m.name).arg(count);
            total += count;
        }
        QVERIFY(total > 0);
        log << QStringLiteral("total: %1").arg(total);
        QTest::addRow("replace block, tileset %d", tileset)
            << "replace_block.js" << QStringList{QString::number(tileset), QString::number(from), "200"} << demo << log
            << after;
    }

    QTest::newRow("events outside, none") << "events_outside.js" << QStringList() << demo
                                          << QStringList{"0 events outside their maps"} << demo;
    // Warp 1 one square past the right side, person 2 one square past the bottom.
    const DemoMap& m = *std::find_if(maps.begin(), maps.end(), [](const DemoMap& d) { return d.warps && d.peopleCount >= 2; });
    QByteArray planted = demo;
    planted[m.warps + 1] = char(2 * m.width);
    planted[m.people + 13 + 1] = char(2 * m.height + 4);
    const QString outside = QStringLiteral(" outside %1 x %2").arg(2 * m.width).arg(2 * m.height);
    QTest::newRow("events outside")
        << "events_outside.js" << QStringList() << planted
        << QStringList{QStringLiteral("%1: warp 1 at (%2, %3)").arg(m.name).arg(2 * m.width).arg(int(planted[m.warps])) + outside,
                       QStringLiteral("%1: person 2 at (%2, %3)").arg(m.name).arg(quint8(planted[m.people + 15]) - 4)
                               .arg(2 * m.height) + outside,
                       "2 events outside their maps"}
        << planted;
}

void TestScriptExamples::runs()
{
    QFETCH(QString, script);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, before);
    QFETCH(QStringList, log);
    QFETCH(QByteArray, after);
    QFile file(QStringLiteral(KARTOLA_SCRIPTS_DIR "/") + script);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList lines;
    const ScriptResult result = runScript({script, QString::fromUtf8(file.readAll()), args, before, dir.path()},
                                          [&](const QString& line) { lines << line; });
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(lines, log);
    QVERIFY(result.image == after);
}

QTEST_GUILESS_MAIN(TestScriptExamples)
#include "tst_script_examples.moc"
