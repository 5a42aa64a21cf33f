// Measures how long the window's thread is held by the work moved away from
// it: the recovery write after an edit on images of 8 and 64 MiB, and after a
// paint click on a map shown in images of 8, 32 and 64 MiB (the hand-off on
// the window's thread, and the longest gap of a 1 ms timer while the writer
// works), and Check Catalogue over 10,000 maps (the first lines, the
// longest gap, the whole check), Apply Patch on a 32 MiB image and Save Map
// Picture of the 100 x 100 block map (the longest gap from the start, the
// hand-over included, beside the same work done on the calling thread).
// Figures are medians of the runs with the
// fastest and slowest beside them.
// Usage: bench_async [RUNS]   (default 11)
#include "bench_field.h"
#include "bench_session.h"
#include "session/catalogue_check_job.h"
#include "session/editor_session.h"
#include "session/map_picture_job.h"
#include "session/patch_apply_job.h"
#include "model/map/map_renderer.h"
#include "session/recovery_keeper.h"
#include "model/rom/bps_patch.h"
#include "model/rom/rom_image.h"
#include "silent_prompts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

struct Figures {
    double median, fastest, slowest;
};

Figures figures(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

void print(const char* what, const Figures& f, const char* verdict = "")
{
    std::printf("%-58s median %8.2f ms  (%.2f .. %.2f)  %s\n", what, f.median, f.fastest, f.slowest, verdict);
}

// Runs the event loop until `done`, with a 1 ms timer; returns the longest
// gap between its ticks, in milliseconds.
double longestGap(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed(), longest = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return double(longest) / 1e6;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// An image of `size` random bytes, the same for the same seed.
bool writeRandomRom(const QString& path, qint64 size, quint32 seed)
{
    QByteArray rom(size, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(rom.data()), rom.size() / 4);
    return writeFile(path, rom);
}

// `runs` times: `edit`, then the recovery write its timer would start; the
// hand-off on the window's thread and the longest gap while the writer works.
void timeRecoveryWrites(EditorSession& session, int runs, const std::function<void(int)>& edit, const QByteArray& what)
{
    std::vector<double> handOff, gaps;
    for (int r = 0; r < runs; ++r) {
        edit(r);
        QElapsedTimer t;
        t.start();
        session.recovery().writeNow();
        handOff.push_back(double(t.nsecsElapsed()) / 1e6);
        std::atomic<bool> settled = false;
        std::thread waiter([&] {
            session.recovery().settle();
            settled = true;
        });
        gaps.push_back(longestGap([&] { return settled.load(); }));
        waiter.join();
    }
    const Figures h = figures(handOff), g = figures(gaps);
    print((what + ": hand-off").constData(), h, h.slowest < 50 ? "< 50 ok" : "SLOW");
    print((what + ": longest gap").constData(), g, g.slowest < 50 ? "< 50 ok" : "SLOW");
}

void recovery(int runs, qint64 size)
{
    QTemporaryDir dir;
    bench::BenchSession bench;
    if (!writeRandomRom(dir.filePath(QStringLiteral("big.gbc")), size, 7) || !bench.open(dir.path(), {}, QStringLiteral("big.gbc")))
        return;
    EditorSession& session = *bench.session;
    timeRecoveryWrites(session, runs, [&session](int r) {
        session.editRom(QStringLiteral("a byte"), [r](RomImage& image) {
            const quint8 byte = quint8(r + 1);
            image.writeAt(0x4000 + r, &byte, 1);
            return true;
        });
    }, "recovery write after an edit, " + QByteArray::number(size >> 20) + " MiB");
}

// A paint click on the 100 x 100 block map shown, in an image grown with
// random bytes to `size`, then the recovery write its timer would start: the
// hand-off on the window's thread and the longest gap while the writer works.
bool writeGrownField(const QString& dir, qint64 size)
{
    if (!bench::writeBenchField(dir))
        return false;
    QFile rom(QDir(dir).filePath(QStringLiteral("demo.gbc")));
    if (!rom.open(QIODevice::ReadWrite) || rom.size() > size)
        return false;
    QByteArray tail(size - rom.size(), Qt::Uninitialized);
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(tail.data()), tail.size() / 4);
    rom.seek(rom.size());
    return rom.write(tail) == tail.size();
}

void recoveryAfterPaint(int runs, qint64 size)
{
    QTemporaryDir dir;
    bench::BenchSession bench;
    if (!writeGrownField(dir.path(), size) || !bench.open(dir.path(), bench::Map))
        return;
    EditorSession& session = *bench.session;
    timeRecoveryWrites(session, runs, [&session](int r) {
        session.stamp().setSelectedBlock(1 + r % 2);
        session.beginStroke();
        session.paintCell(r);
        session.endStroke();
    }, "recovery write after a paint click, map shown, " + QByteArray::number(size >> 20) + " MiB");
}

// 10,000 maps of 20 x 18 blocks, every hundredth one with a tileset that is
// not described, so problems come all along the check.
bool writeCatalogue(const QString& dir, int maps)
{
    constexpr int Width = 20, Height = 18;
    QByteArray main = "[Many]\r\n", list;
    int start = 0x1000;
    for (int k = 0; k < maps; ++k) {
        const QByteArray name = "Map " + QByteArray::number(k);
        main += QByteArray::number(k + 1) + "=" + name + "\r\n";
        list += "[" + name + "]\r\nStart offset=" + QByteArray::number(start) + "\r\nEnd offset="
                + QByteArray::number(start + Width * Height - 1) + "\r\nX size=" + QByteArray::number(Width)
                + "\r\nY size=" + QByteArray::number(Height) + "\r\nTileset=" + (k % 100 ? "1" : "7") + "\r\n";
        start += Width * Height;
    }
    QImage tiles(256, 96, QImage::Format_RGB32);
    tiles.fill(Qt::darkGreen);
    return writeFile(dir + "/Main.Ini", main) && writeFile(dir + "/Maps.Ini", list)
           && writeFile(dir + "/Tilesets.ini", "[1]\r\nBlocks=10\r\nStart offset=0x7F0000\r\nTiles=tiles.bmp\r\n")
           && writeFile(dir + "/Critters.ini", "") && writeFile(dir + "/Events.ini", "")
           && writeFile(dir + "/rom.gbc", QByteArray(8 << 20, '\0')) && tiles.save(dir + "/tiles.bmp");
}

void catalogueCheck(int runs)
{
    constexpr int Maps = 10000;
    QTemporaryDir dir;
    if (!writeCatalogue(dir.path(), Maps))
        return;
    const Catalogue catalogue(dir.path());
    RomImage rom;
    if (!rom.loadFromFile(dir.filePath(QStringLiteral("rom.gbc"))))
        return;
    std::vector<double> first, gaps, whole;
    for (int r = 0; r < runs; ++r) {
        CatalogueCheckJob job;
        QElapsedTimer t;
        double firstMs = -1;
        QObject::connect(&job, &CatalogueCheckJob::found, [&](const QStringList& problems) {
            if (firstMs < 0 && !problems.isEmpty())
                firstMs = double(t.nsecsElapsed()) / 1e6;
        });
        t.start();
        job.start(catalogue, rom);
        gaps.push_back(longestGap([&] { return !job.isRunning(); }));
        whole.push_back(double(t.nsecsElapsed()) / 1e6);
        first.push_back(firstMs);
    }
    QElapsedTimer t;
    t.start();
    const int lines = int(CatalogueCheck(catalogue, rom).run().problems.size());
    const double inline_ = double(t.nsecsElapsed()) / 1e6;
    const Figures f = figures(first), g = figures(gaps);
    print("Check Catalogue, 10,000 maps: first lines", f, f.median < 200 ? "< 200 ok" : "SLOW");
    print("Check Catalogue, 10,000 maps: longest gap", g, g.slowest < 50 ? "< 50 ok" : "SLOW");
    print("Check Catalogue, 10,000 maps: whole check", figures(whole));
    std::printf("(the same check on the calling thread: %.0f ms, %d lines)\n", inline_, lines);
}

// An IPS patch writing `count` bytes of `value` at 0x200000.
QByteArray ipsPatch(quint8 value, int count)
{
    QByteArray patch = "PATCH";
    patch += QByteArray::fromHex("200000");
    patch += char(count >> 8);
    patch += char(count & 0xFF);
    patch += QByteArray(count, char(value));
    return patch + "EOF";
}

void applyPatch(int runs)
{
    QTemporaryDir dir;
    bench::BenchSession bench;
    if (!writeRandomRom(dir.filePath(QStringLiteral("big.gbc")), 32 << 20, 11)
        || !bench.open(dir.path(), {}, QStringLiteral("big.gbc")))
        return;
    EditorSession& session = *bench.session;
    PatchApplyJob job(session);
    std::vector<double> gaps, inline_;
    for (int r = 0; r < runs; ++r) {
        const QString patch = dir.filePath(QStringLiteral("p%1.ips").arg(r));
        writeFile(patch, ipsPatch(quint8(2 * r + 1), 4096));
        QElapsedTimer t;
        t.start();
        bool done = false;
        const auto connection = QObject::connect(&job, &PatchApplyJob::finished, [&] { done = true; });
        const double start = job.start(patch).isDone() ? double(t.nsecsElapsed()) / 1e6 : 1e9;
        gaps.push_back(std::max(start, longestGap([&] { return done; })));
        QObject::disconnect(connection);
        session.recovery().settle();
        // The same waited for at once (as Load Rom and closing do), for comparison.
        writeFile(patch, ipsPatch(quint8(2 * r + 2), 4096));
        t.start();
        if (job.start(patch).isDone())
            job.finish();
        inline_.push_back(double(t.nsecsElapsed()) / 1e6);
        session.recovery().settle();
    }
    const Figures g = figures(gaps);
    print("Apply Patch, 32 MiB image: longest gap", g, g.slowest < 50 ? "< 50 ok" : "SLOW");
    print("Apply Patch, 32 MiB image: waited for at once", figures(inline_));
}

// Apply Patch of a BPS that changes a byte of every 4 KiB of a 32 MiB image
// with the 100 x 100 block map shown: the start on the window's thread, and
// the hand-over of the result once the worker is done.
void applyPatchMapShown(int runs)
{
    constexpr qint64 Size = qint64(32) << 20;
    QTemporaryDir dir;
    bench::BenchSession bench;
    if (!writeGrownField(dir.path(), Size) || !bench.open(dir.path(), bench::Map))
        return;
    EditorSession& session = *bench.session;
    PatchApplyJob job(session);
    std::vector<double> starts, handOvers;
    for (int r = 0; r < runs; ++r) {
        const QByteArray image = bench.state->core.rom.bytes();
        QByteArray target = image;
        for (qint64 at = 0x200000 + r; at < target.size(); at += 4096)
            target[at] = char(target[at] ^ 0x5A);
        const QString patch = dir.filePath(QStringLiteral("p%1.bps").arg(r));
        writeFile(patch, makeBpsPatch(image, target));
        bool done = false;
        const auto connection = QObject::connect(&job, &PatchApplyJob::finished, [&] { done = true; });
        QElapsedTimer t;
        t.start();
        if (!job.start(patch).isDone())
            return;
        starts.push_back(double(t.nsecsElapsed()) / 1e6);
        job.waitForWorker();
        t.start();
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        handOvers.push_back(double(t.nsecsElapsed()) / 1e6);
        QObject::disconnect(connection);
        session.recovery().settle();
    }
    const Figures h = figures(handOvers);
    print("Apply Patch, 32 MiB image, map shown: start", figures(starts));
    print("Apply Patch, 32 MiB image, map shown: hand-over", h, h.slowest < 50 ? "< 50 ok" : "SLOW");
}

void mapPicture(int runs)
{
    QTemporaryDir dir;
    bench::BenchSession bench;
    if (!bench::writeBenchField(dir.path()) || !bench.open(dir.path(), bench::Map))
        return;
    const EditorState& state = *bench.state;
    MapPictureJob job;
    const MapRenderer renderer(state.core.map, state.map, state.pictures);
    for (const char* suffix : {"DIB", "png"}) {
        const QString path = dir.filePath(QStringLiteral("map.") + QLatin1String(suffix));
        std::vector<double> starts, gaps, inline_;
        for (int r = 0; r < runs; ++r) {
            QElapsedTimer t;
            t.start();
            const double start = job.start(state.core.map, state.map, state.pictures, false, path)
                                     ? double(t.nsecsElapsed()) / 1e6
                                     : 1e9;
            starts.push_back(start);
            gaps.push_back(std::max(start, longestGap([&] { return !job.isRunning(); })));
            QString error;
            t.start();
            renderer.writePicture(path, &error);
            inline_.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        const Figures g = figures(gaps);
        const QByteArray what = QByteArray("Save Map Picture, 100 x 100 blocks, ") + suffix;
        print((what + ": start").constData(), figures(starts));
        print((what + ": longest gap").constData(), g, g.slowest < 50 ? "< 50 ok" : "SLOW");
        print((what + ": on the calling thread").constData(), figures(inline_));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);   // the map pictures are drawn
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 11;
    // The same timer with nothing else to do, for the machine's own share of the gaps.
    std::vector<double> idle;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        idle.push_back(longestGap([&] { return t.elapsed() >= 500; }));
    }
    print("nothing running, 500 ms: longest gap", figures(idle));
    catalogueCheck(runs);
    for (qint64 mib : {8, 64})
        recovery(runs, mib << 20);
    for (qint64 mib : {8, 32, 64})
        recoveryAfterPaint(runs, mib << 20);
    applyPatch(runs);
    applyPatchMapShown(runs);
    mapPicture(runs);
    return 0;
}
