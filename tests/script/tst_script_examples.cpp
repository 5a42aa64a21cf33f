// The example scripts on the demo data: what they log and what they write,
// against bytes worked out here from the catalogue's numbers.
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

// mulberry32, as the shuffle script draws its numbers from [0, 1).
double mulberry(quint32& a)
{
    a += 0x6D2B79F5u;
    quint32 t = (a ^ (a >> 15)) * (1u | a);
    t = (t + (t ^ (t >> 7)) * (61u | t)) ^ t;
    return double(t ^ (t >> 14)) / 4294967296.0;
}

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

    for (quint32 seed : {42u, 7u}) {
        QByteArray after = demo;
        QList<qint64> numbers;   // offsets of the number bytes, in the script's order
        for (const DemoMap& m : maps)
            for (int slot = 0; m.wild && slot < 21; ++slot)
                numbers << m.wild + 2 * slot + 1;
        QList<char> values;
        for (qint64 at : numbers)
            values << demo.at(at);
        quint32 state = seed;
        for (qsizetype i = values.size() - 1; i > 0; --i)
            values.swapItemsAt(i, qsizetype(mulberry(state) * double(i + 1)));
        for (qsizetype k = 0; k < numbers.size(); ++k)
            after[numbers[k]] = values[k];
        QVERIFY(after != demo);
        QTest::addRow("wild shuffle, seed %u", seed)
            << "wild_shuffle.js" << QStringList{QString::number(seed)} << demo
            << QStringList{QStringLiteral("shuffled %1 wild slots with seed %2").arg(numbers.size()).arg(seed)} << after;
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
