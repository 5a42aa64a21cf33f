// Tiled maps:
// - `bench_tiled prepare DIR`: writes the demo catalogue with the 100 x 100
//   map "Bench Field" and 1,000 more maps into DIR, so that the command line's
//   `--export-tiled` can be timed against `--export-pictures` of the same maps
//   as whole processes;
// - `bench_tiled [ROUNDS]`: inside this process, the export of that catalogue
//   next to the pictures of every map, and the import of the 100 x 100 map
//   (file read, checked and applied to a copy of the image); medians of
//   ROUNDS runs (default 11) with the fastest and slowest.
#include "bench_field.h"
#include "many_maps.h"

#include "model/catalogue/catalogue.h"
#include "model/rom/rom_image.h"
#include "session/tiled_export.h"
#include "session/tiled_import.h"

#include <QGuiApplication>

namespace {

bool prepare(const QString& dir)
{
    return bench::writeBenchField(dir) && bench::writeManyMaps(dir, 1000);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("prepare")) {
        if (args.size() < 3 || !prepare(args.at(2))) {
            std::fprintf(stderr, "usage: bench_tiled prepare DIR (a folder that can be written)\n");
            return 1;
        }
        return 0;
    }
    const int rounds = qMax(1, args.value(1, QStringLiteral("11")).toInt());
    QTemporaryDir dir;
    if (!prepare(dir.path())) {
        std::fprintf(stderr, "cannot write the catalogue\n");
        return 1;
    }
    const Catalogue catalogue(dir.path());
    RomImage rom;
    if (!rom.loadFromFile(QDir(dir.path()).filePath(QStringLiteral("demo.gbc"))))
        return 1;
    const QString out = QDir(dir.path()).filePath(QStringLiteral("tiled"));
    QDir().mkpath(out);
    const bench::Figures exported = bench::measure(rounds, {}, [&] {
        TiledExport(catalogue, rom, out).exportMaps({}, [](const QString&) {});
    });
    std::printf("%-44s median %9.2f ms  (%.2f .. %.2f)\n", "export of 1,008 maps for Tiled", exported.median,
                exported.best, exported.most);

    const QStringList file{QDir(out).filePath(bench::Map + QStringLiteral(".tmx"))};
    const QByteArray image = rom.bytes();
    bool sound = true;
    const bench::Figures imported = bench::measure(rounds * 3, {}, [&] {
        sound = importTiled(catalogue, image, file).refusal.isEmpty() && sound;
    });
    bench::printSpread(sound ? "import of the 100 x 100 map" : "import of the 100 x 100 map (REFUSED)", imported, 20);
    return sound ? 0 : 1;
}
