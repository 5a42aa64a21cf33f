// Measures the Overview on a category of 1,000 maps of 20 x 18 blocks over
// five tilesets: from View > Overview to the first screen of pictures, and
// to the last picture, with a window that has drawn none yet; and how late
// a 10 ms timer of the window's thread fires meanwhile (the window's answer
// to input), beside the same timer in the idle window, which shows what the
// machine's other load alone costs. Each figure is the median of the runs, with the fastest and
// the slowest beside it.
// Usage: bench_overview [RUNS]   (default 11)
#include "bench_field.h"
#include "silent_prompts.h"
#include "session/editor_state.h"
#include "ui/main/main_form.h"
#include "ui/main/overview_panel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Maps = 1000, Width = 20, Height = 18, Tilesets = 5, Blocks = 40;
constexpr int TilesetStart = 0xE0000, RomSize = 0x100000;

bool writeCatalogue(const QString& dir)
{
    QByteArray main = "[Everything]\r\n", maps, tilesets;
    for (int k = 1; k <= Maps; ++k) {
        const QByteArray name = "Map " + QByteArray::number(k);
        const int start = 0x1000 + (k - 1) * Width * Height;
        main += QByteArray::number(k) + "=" + name + "\r\n";
        maps += "[" + name + "]\r\nStart offset=" + QByteArray::number(start) + "\r\nEnd offset="
                + QByteArray::number(start + Width * Height - 1) + "\r\nX size=" + QByteArray::number(Width)
                + "\r\nY size=" + QByteArray::number(Height) + "\r\nTileset=" + QByteArray::number(1 + k % Tilesets)
                + "\r\n";
    }
    for (int t = 1; t <= Tilesets; ++t) {
        tilesets += "[" + QByteArray::number(t) + "]\r\nBlocks=" + QByteArray::number(Blocks) + "\r\nStart offset="
                    + QByteArray::number(TilesetStart + (t - 1) * 16 * (Blocks + 1)) + "\r\nTiles=tiles"
                    + QByteArray::number(t) + ".bmp\r\n";
        QImage tiles(256, 96, QImage::Format_RGB32);
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 256; ++x)
                tiles.setPixel(x, y, qRgb((x * 7 + t * 40) & 255, (y * 5) & 255, (x ^ y) & 255));
        if (!tiles.save(dir + "/tiles" + QString::number(t) + ".bmp"))
            return false;
    }
    return bench::writeSettledFile(dir + "/Main.Ini", main) && bench::writeSettledFile(dir + "/Maps.Ini", maps)
           && bench::writeSettledFile(dir + "/Tilesets.ini", tilesets) && bench::writeSettledFile(dir + "/Critters.ini", "")
           && bench::writeSettledFile(dir + "/Events.ini", "");
}

struct Run {
    double firstScreen = 0, all = 0, latest = 0, idleLatest = 0;
};

// The latest a 10 ms timer fires during `ms` of an idle window: what the
// machine's other load alone costs the window's thread.
double idleLateness(int ms)
{
    double latest = 0;
    QElapsedTimer tick, clock;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        latest = std::max(latest, double(tick.nsecsElapsed()) / 1e6 - 10.0);
        tick.restart();
    });
    clock.start();
    tick.start();
    timer.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return latest;
}

bool inSightDrawn(const OverviewPanel& overview)
{
    const QRect sight = overview.Maps->viewport()->rect();
    int seen = 0;
    for (int i = 0; i < overview.Maps->count(); ++i) {
        const QListWidgetItem* item = overview.Maps->item(i);
        if (!overview.Maps->visualItemRect(item).intersects(sight))
            continue;
        ++seen;
        if (item->icon().isNull())
            return false;
    }
    return seen > 0;
}

Run runOnce(const QString& dir)
{
    EditorState state(dir);
    SilentPrompts prompts;
    TMainForm form(state, prompts);
    form.resize(1280, 800);
    form.show();
    form.loadRom(dir + "/image.gbc");
    form.MainBox->setCurrentIndex(0);
    form.MainBoxClick();
    QApplication::processEvents();

    Run run;
    run.idleLatest = idleLateness(1000);
    QElapsedTimer clock;
    QElapsedTimer tick;
    QTimer lateness;
    lateness.setTimerType(Qt::PreciseTimer);
    lateness.setInterval(10);
    QObject::connect(&lateness, &QTimer::timeout, [&] {
        run.latest = std::max(run.latest, double(tick.nsecsElapsed()) / 1e6 - 10.0);
        tick.restart();
        if (run.firstScreen == 0 && inSightDrawn(*form.overview))
            run.firstScreen = double(clock.nsecsElapsed()) / 1e6;
    });
    clock.start();
    tick.start();
    lateness.start();
    form.Overview1->trigger();
    while (form.overview->drawing() || run.firstScreen == 0) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (clock.elapsed() > 30000)
            break;
    }
    run.all = double(clock.nsecsElapsed()) / 1e6;
    if (run.firstScreen == 0 || run.firstScreen > run.all)
        run.firstScreen = run.all;
    return run;
}

void print(const char* what, std::vector<double> ms, double target)
{
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%-44s median %8.1f ms  fastest %8.1f  slowest %8.1f  target < %-5g %s\n", what, median, ms.front(),
                ms.back(), target, median < target ? "ok" : "SLOW");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 11;
    QTemporaryDir dir;
    if (!dir.isValid() || !writeCatalogue(dir.path())) {
        std::fprintf(stderr, "cannot write the catalogue\n");
        return 1;
    }
    QByteArray image(RomSize, '\0');
    for (int i = 0x1000; i < 0x1000 + Maps * Width * Height; ++i)
        image[i] = char(1 + (i * 7 + i / 13) % Blocks);
    for (int i = TilesetStart; i < TilesetStart + Tilesets * 16 * (Blocks + 1); ++i)
        image[i] = char((i * 11) % 96);
    if (!bench::writeSettledFile(dir.path() + "/image.gbc", image)) {
        std::fprintf(stderr, "cannot write the image\n");
        return 1;
    }
    std::vector<double> first, all, late, idle;
    for (int r = 0; r < runs; ++r) {
        const Run run = runOnce(dir.path());
        first.push_back(run.firstScreen);
        all.push_back(run.all);
        late.push_back(run.latest);
        idle.push_back(run.idleLatest);
    }
    print("Overview of 1,000 maps: first screen", first, 500);
    print("Overview of 1,000 maps: every picture", all, 5000);
    print("lateness of a 10 ms timer meanwhile", late, 50);
    print("the same timer in an idle window (the load)", idle, 50);
    return 0;
}
