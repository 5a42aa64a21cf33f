// Measures scripts: 100,000 setBlock calls on a 100 x 100 block map, and a
// script reading every block of every map of a catalogue of 1,000 maps of
// 20 x 18 blocks (ten categories of 100), the maps opened by map(name) as the
// catalogue lists them; logging, and the cost of a process of its own (the
// program beside this one, started at the run or ahead of it). Each figure is the median of the runs, with the
// fastest and the slowest beside it.
// Usage: bench_script [RUNS]   (default 7)
#include "bench_field.h"
#include "script/script_job.h"
#include "script/script_run.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Categories = 10, MapsPerCategory = 100, Width = 20, Height = 18;
constexpr int BigStart = 0x80000, WildStart = 0x90000, RomSize = 0x100000;

bool writeCatalogue(const QString& dir)
{
    QByteArray main, maps, critters;
    int start = 0x1000, wild = WildStart;
    for (int c = 0; c < Categories; ++c) {
        main += "[Category " + QByteArray::number(c) + "]\r\n";
        for (int k = 1; k <= MapsPerCategory; ++k) {
            const QByteArray name = "Map " + QByteArray::number(c) + "-" + QByteArray::number(k);
            main += QByteArray::number(k) + "=" + name + "\r\n";
            maps += "[" + name + "]\r\nStart offset=" + QByteArray::number(start) + "\r\nEnd offset="
                    + QByteArray::number(start + Width * Height - 1) + "\r\nX size=" + QByteArray::number(Width)
                    + "\r\nY size=" + QByteArray::number(Height) + "\r\nTileset=1\r\n";
            start += Width * Height;
            critters += "[" + name + "]\r\nStart offset=" + QByteArray::number(wild) + "\r\n";
            wild += 42;
        }
    }
    maps += "[Big]\r\nStart offset=" + QByteArray::number(BigStart) + "\r\nEnd offset="
            + QByteArray::number(BigStart + 9999) + "\r\nX size=100\r\nY size=100\r\nTileset=1\r\n";
    QImage tiles(256, 96, QImage::Format_RGB32);
    tiles.fill(Qt::darkGreen);
    return bench::writeSettledFile(dir + "/Main.Ini", main) && bench::writeSettledFile(dir + "/Maps.Ini", maps)
           && bench::writeSettledFile(dir + "/Tilesets.ini", "[1]\r\nBlocks=10\r\nStart offset=0xF0000\r\nTiles=tiles.bmp\r\n")
           && bench::writeSettledFile(dir + "/Critters.ini", critters) && bench::writeSettledFile(dir + "/Events.ini", "")
           && tiles.save(dir + "/tiles.bmp");
}

struct Figures {
    double median, fastest, slowest;
};

Figures run(const ScriptRequest& request, int runs)
{
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        const ScriptResult result = runScript(request, [](const QString&) {});
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result.end != ScriptResult::End::Finished)
            std::fprintf(stderr, "%s\n", qPrintable(result.error));
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    QTemporaryDir dir;
    if (!dir.isValid() || !writeCatalogue(dir.path())) {
        std::fprintf(stderr, "cannot write the catalogue\n");
        return 1;
    }
    QByteArray image(RomSize, '\0');
    // Wild tables whose levels and numbers are all whole and above 0.
    for (int i = WildStart; i < WildStart + 42 * Categories * MapsPerCategory; ++i)
        image[i] = char(1 + i % 200);
    const QString writes = QStringLiteral(
        "var m = map('Big');\n"
        "for (var i = 0; i < 100000; ++i) m.setBlock(i % 100, Math.floor(i / 100) % 100, i & 255);");
    const QString reads = QStringLiteral(
        "var sum = 0, count = 0;\n"
        "catalogue.categories().forEach(function (c) { catalogue.maps(c).forEach(function (name) {\n"
        "  var m = map(name), w = m.width, h = m.height; ++count;\n"
        "  for (var y = 0; y < h; ++y) for (var x = 0; x < w; ++x) sum += m.block(x, y); }); });\n"
        "if (count !== 1000) throw 'read ' + count + ' maps';");
    std::printf("%-44s %10s %10s %10s %8s\n", "script (median of runs)", "median ms", "fastest", "slowest", "target");
    const Figures w = run({QStringLiteral("writes.js"), writes, {}, image, dir.path()}, runs);
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "100,000 setBlock on a 100 x 100 map", w.median, w.fastest,
                w.slowest, w.median < 500 ? "< 500 ok" : "SLOW");
    const Figures r = run({QStringLiteral("reads.js"), reads, {}, image, dir.path()}, runs);
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "every block of 1,000 maps of 20 x 18", r.median, r.fastest,
                r.slowest, r.median < 1000 ? "< 1000 ok" : "SLOW");
    QFile shuffle(QCoreApplication::applicationDirPath() + QStringLiteral("/scripts/wild_shuffle.js"));
    if (!shuffle.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no scripts/wild_shuffle.js beside the program\n");
        return 1;
    }
    const Figures f = run({QStringLiteral("wild_shuffle.js"), QString::fromUtf8(shuffle.readAll()),
                           {QStringLiteral("42")}, image, dir.path()},
                          runs);
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "the wild shuffle example over 1,000 maps", f.median,
                f.fastest, f.slowest, f.median < 2000 ? "< 2000 ok" : "SLOW");

    // Logging through the job as the command line and the window take it:
    // 200,000 lines delivered to this thread, against the same loop without
    // the log call.
    const auto jobMs = [&](const QString& source, qint64* lines, bool prepared = false) {
        std::vector<double> ms;
        for (int r = 0; r < runs; ++r) {
            if (prepared) {
                // The process started ahead, as while a user picks a script.
                ScriptJob::prepareProcess();
                QTimer::singleShot(400, &app, &QCoreApplication::quit);
                app.exec();
            }
            ScriptJob logging;
            qint64 count = 0;
            QObject::connect(&logging, &ScriptJob::logLines, [&](const QStringList& batch) { count += batch.size(); });
            QObject::connect(&logging, &ScriptJob::finished, &app, &QCoreApplication::quit);
            QElapsedTimer timer;
            timer.start();
            logging.start({QStringLiteral("log.js"), source, {}, image, dir.path()});
            app.exec();
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            *lines = count;
        }
        std::sort(ms.begin(), ms.end());
        return Figures{ms[ms.size() / 2], ms.front(), ms.back()};
    };
    qint64 logged = 0, silent = 0;
    const Figures withLog = jobMs(QStringLiteral("var s = 0; for (var i = 0; i < 200000; ++i) { s += i; log('line', i, s); }"), &logged);
    const Figures without = jobMs(QStringLiteral("var s = 0; for (var i = 0; i < 200000; ++i) { s += i; String(i); String(s); }"), &silent);
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "200,000 lines logged through the job", withLog.median,
                withLog.fastest, withLog.slowest, logged == 200000 ? "" : "LOST");
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "the same loop without log", without.median, without.fastest,
                without.slowest, withLog.median < 2 * without.median ? "< 2x ok" : "SLOW");

    // The scripts' own processes, as the program runs them: an empty script
    // through a job on a worker thread and through a process (the difference
    // is what the process and its memory bound cost a run), and the 100,000
    // setBlock calls through a process.
    const QString empty = QStringLiteral("0");
    const Figures emptyHere = jobMs(empty, &silent);
    ScriptJob::runInProcesses(QCoreApplication::applicationDirPath() + QStringLiteral("/kartola"));
    const Figures emptyThere = jobMs(empty, &silent);
    const Figures emptyPrepared = jobMs(empty, &silent, true);
    const Figures writesThere = jobMs(writes, &silent, true);
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "an empty script on a worker thread", emptyHere.median,
                emptyHere.fastest, emptyHere.slowest, "");
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "an empty script in its own process", emptyThere.median,
                emptyThere.fastest, emptyThere.slowest,
                emptyThere.median - emptyHere.median < 50 ? "+< 50 ok" : "SLOW");
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "the same, its process started ahead", emptyPrepared.median,
                emptyPrepared.fastest, emptyPrepared.slowest,
                emptyPrepared.median - emptyHere.median < 50 ? "+< 50 ok" : "SLOW");
    std::printf("%-44s %10.1f %10.1f %10.1f %8s\n", "100,000 setBlock in its own process", writesThere.median,
                writesThere.fastest, writesThere.slowest,
                writesThere.median - emptyPrepared.median < 300 ? "+< 300 ok" : "SLOW");
    ScriptJob::runInProcesses(QString());

    // The caller's event loop while a script runs on its worker and logs a
    // line per map: how late a timer of 10 ms fires.
    ScriptJob job;
    std::vector<double> late;
    QElapsedTimer clock;
    QTimer tick;
    tick.setInterval(10);
    qint64 due = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        late.push_back(std::max(0.0, double(clock.nsecsElapsed() - due) / 1e6));
        due = clock.nsecsElapsed() + 10'000'000;
    });
    QObject::connect(&job, &ScriptJob::finished, &app, &QCoreApplication::quit);
    const QString busy = QStringLiteral(
        "for (var k = 0; k < 3; ++k) catalogue.categories().forEach(function (c) {\n"
        "  catalogue.maps(c).forEach(function (name) { var m = map(name), s = 0;\n"
        "    for (var y = 0; y < m.height; ++y) for (var x = 0; x < m.width; ++x) s += m.block(x, y);\n"
        "    log(name + ' ' + s); }); });");
    job.start({QStringLiteral("busy.js"), busy, {}, image, dir.path()});
    clock.start();
    due = 10'000'000;
    tick.start();
    app.exec();
    std::sort(late.begin(), late.end());
    if (!late.empty()) {
        const double p99 = late[late.size() * 99 / 100];
        std::printf("%-44s %10.2f %10.2f %10.2f %8s\n", "timer lateness while a script runs (ms)",
                    late[late.size() / 2], late.front(), late.back(), late.back() < 50 ? "< 50 ok" : "SLOW");
        std::printf("  %zu ticks, 99th percentile %.2f ms\n", late.size(), p99);
    }
    return 0;
}
