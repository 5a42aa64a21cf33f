// Timings of the map page on the largest maps: the tileset build, full
// redraws of the map view and one paint step. Run from a Release build.
#include "silent_prompts.h"
#include "app/editor_session.h"
#include "catalogue/editor_core.h"
#include "map/tileset_build.h"
#include "map/block_pictures.h"
#include "map/ui/map_page.h"
#include "map/map_state.h"
#include "map/tile_picture.h"
#include "widgets/drawing_surface.h"
#include "widgets/prompts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

struct Figures {
    double median = 0, best = 0;
};

// Runs `step` `runs` times (with `prepare` untimed before each) and returns milliseconds.
Figures measure(int runs, const std::function<void()>& prepare, const std::function<void()>& step)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        step();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

void print(const char* what, const Figures& f, double target)
{
    std::printf("%-44s median %9.4f ms   best %9.4f ms   target < %g ms  %s\n", what, f.median, f.best, target,
                f.median < target ? "ok" : "SLOW");
}

QImage tilePicture()
{
    QImage image(256, 96, QImage::Format_RGB32);
    QPainter p(&image);
    for (int t = 0; t < 96; ++t)
        p.fillRect((t % 16) * 16, (t / 16) * 16, 16, 16, QColor::fromHsv(t * 3, 200, 100 + t));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    EditorState editorState(dir.path());
    EditorCore& core = editorState.core;
    QByteArray rom(0x20000, '\0');
    for (int i = 0; i < rom.size(); ++i)
        rom[i] = char((i * 7) % 96);
    for (int i = 0; i < MapBufferSize; ++i)
        rom[0x10000 + i] = char(1 + i % 128);
    core.rom.setBytes(rom);
    core.RomFileName = dir.filePath(QStringLiteral("bench.gbc"));

    MapState& state = editorState.map;
    BlockPictures& pictures = editorState.pictures;
    TilePicture& pics = editorState.Pics;
    pics.setImage(tilePicture());
    SilentPrompts prompts;
    EditorSession session(editorState, prompts);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    session.setGrid(true);
    MapPage page(session, &window);
    layout->addWidget(&page, 1);
    window.resize(1024, 768);
    window.show();
    app.processEvents();

    MapRecord map;
    map.name = QStringLiteral("Bench");
    map.TilesetNumber = 1;
    map.TilesetBlocks = 127;
    map.TilesetStart = 0x100;
    map.MapStart = 0x10000;
    auto setSize = [&](int w, int h) {
        map.MapWidth = w;
        map.MapHeight = h;
        map.MapEnd = map.MapStart + w * h - 1;
        core.map = map;
    };
    setSize(20, 18);

    std::printf("Map page timings (grid on, %d x %d window)\n", window.width(), window.height());
    print("tileset build, 128 blocks", measure(50, [&] { pictures.clear(); },
                                               [&] { buildTileset(core.rom, core.map, pics, pictures); }), 5);
    page.UpdateBlockPalette();

    state.readMap(core.rom, core.map);
    page.UpdateMap();
    print("UpdateMap 20 x 18", measure(50, {}, [&] { page.UpdateMap(); }), 100);

    setSize(100, 100);
    print("UpdateMap 100 x 100, new surface", measure(5, [&] { setSize(20, 18); page.UpdateMap(); setSize(100, 100); },
                                                     [&] { page.UpdateMap(); }), 100);
    print("  of which the new 6400 x 6400 surface", measure(5, [&] { page.MapBox->setSurfaceSize(QSize(64, 64)); },
                                                         [&] { page.MapBox->setSurfaceSize(QSize(6400, 6400)); }), 100);
    state.readMap(core.rom, core.map);
    page.UpdateMap();
    print("UpdateMap 100 x 100", measure(20, {}, [&] { page.UpdateMap(); }), 100);
    app.processEvents();

    // Paint steps: pointer moves with the left button held over cells in sight.
    state.SelectedBlock = 5;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(32, 32), QPointF(32, 32), Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(page.MapBox, &press);
    int step = 0;
    auto move = [&] {
        const QPointF at(64 * (step % 8) + 20, 64 * ((step / 8) % 4) + 20);
        ++step;
        QMouseEvent event(QEvent::MouseMove, at, page.MapBox->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(page.MapBox, &event);
    };
    print("paint step on 100 x 100 (handler)", measure(2000, {}, move), 0.2);
    print("paint step on 100 x 100 (with repaint)", measure(500, {}, [&] { move(); app.processEvents(); }), 0.2);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(32, 32), QPointF(32, 32), Qt::LeftButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(page.MapBox, &release);
    return 0;
}
