// Picture export on the demo cartridge with its 100 x 100 block map: Save Map
// Picture as BMP and PNG beside a memcpy of its pixels, the PNG beside Qt's
// own writer on the whole picture (time and file size), and --export-pictures
// picks and PNG saves of every map, the work --export-pictures does (time that
// and the peak memory from outside: /usr/bin/time -v build/bin/kartola ...).
// Usage: bench_pictures [ROUNDS [keep]]   (default 5; medians are shown; with
// "keep" the folder stays until Enter is pressed)
#include "bench_field.h"
#include "bench_session.h"
#include "silent_prompts.h"

#include "base/safe_write.h"
#include "model/map/map_renderer.h"
#include "session/catalogue_maps.h"
#include "session/editor_session.h"
#include "session/editor_state.h"

#include <QGuiApplication>
#include <QFileInfo>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    if (!bench::writeBenchField(dir.path()))
        return 1;
    bench::BenchSession bench;
    if (!bench.open(dir.path(), bench::Map))
        return 1;
    const EditorState& state = *bench.state;
    EditorSession& session = *bench.session;
    const MapRenderer renderer(state.core.map, state.map, state.pictures);
    const qint64 pixels = renderer.viewWidth(100) * renderer.viewHeight(100);
    std::printf("Pictures of the %d x %d block map (%lld pixels), %d rounds\n", bench::Side, bench::Side,
                static_cast<long long>(pixels), rounds);

    QString error;
    const QString bmp = dir.filePath(QStringLiteral("map.DIB")), png = dir.filePath(QStringLiteral("map.png"));
    const QString qtPng = dir.filePath(QStringLiteral("qt.png"));
    const double copy = bench::memcpyMs(pixels);
    const bench::Figures bmpSave = bench::measure(rounds, {}, [&] { renderer.writePicture(bmp, &error); });
    bench::print("Save Map Picture, BMP", bmpSave, 3 * copy, pixels);
    // The floor under it: the checked write (down to the disk) of a file of
    // the same size made beforehand. What the save costs above it is drawing.
    const QByteArray sameSize(qsizetype(QFileInfo(bmp).size()), '\1');
    const bench::Figures floor = bench::measure(rounds, {}, [&] { writeFileAtomically(bmp, sameSize); });
    bench::print("  checked write of as many bytes", floor, 1e9, 0);
    std::printf("  drawing above that: %.1f ms, %.2f x memcpy  (target < 3) %s\n", bmpSave.median - floor.median,
                (bmpSave.median - floor.median) / copy, bmpSave.median - floor.median < 3 * copy ? "ok" : "SLOW");
    const bench::Figures pngSave = bench::measure(rounds, {}, [&] { renderer.writePicture(png, &error); });
    const bench::Figures qtSave = bench::measure(rounds, {}, [&] { renderer.picture().save(qtPng, "PNG"); });
    bench::print("Save Map Picture, PNG", pngSave, qtSave.median / 3, 0);
    bench::print("  Qt's PNG writer on the whole picture", qtSave, 1e9, 0);
    const double pngBytes = double(QFileInfo(png).size()), qtBytes = double(QFileInfo(qtPng).size());
    std::printf("  PNG size %.0f bytes, Qt's %.0f bytes: %+.1f %%  (target < +10 %%) %s\n", pngBytes, qtBytes,
                100 * (pngBytes / qtBytes - 1), pngBytes <= 1.1 * qtBytes ? "ok" : "LARGE");

    // --export-pictures against PNG saves of the same maps, picked beforehand.
    QStringList maps;
    for (const CatalogueMap& map : catalogueMaps(state.core.catalogue.MainIni))
        if (!maps.contains(map.name))
            maps << map.name;
    const bench::Figures plain = bench::measure(rounds, {}, [&] {
        for (const QString& map : maps) {
            session.pickMap(map);
            const QString file = dir.filePath(QStringLiteral("plain.png"));
            MapRenderer(state.core.map, state.map, state.pictures).writePicture(file, &error);
        }
    });
    std::printf("%lld maps\n", static_cast<long long>(maps.size()));
    bench::print("picks and PNG saves of every map", plain, 1e9, 0);
    std::printf("  compare: time build/bin/kartola --export-pictures DIR demo.gbc in %s\n", qPrintable(dir.path()));
    std::fflush(stdout);
    if (argc > 2)
        std::getchar();   // keeps the folder while the command line runs on it
    return 0;
}
