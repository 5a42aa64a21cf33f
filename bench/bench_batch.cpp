// Batch work over many maps and the PNG past one core:
// - `kartola --check` and `--export-pictures` of a 1,000-map catalogue (the
//   demo maps listed again and again under new names) on 2 threads against
//   1, and `--check` of 10,000 maps, each run as its own process; the
//   check of 1,000 maps again inside one process, on 2 threads against 1;
// - Save Map Picture as PNG of the 100 x 100 block map against zlib level 6
//   alone deflating the same rows (drawn beforehand), and the two sizes.
// Medians of ROUNDS runs (default 11) with the fastest and slowest.
// Usage: bench_batch [ROUNDS [check]]   (run from build/bin, beside kartola;
// "check" runs only the two --check measures)
#include "bench_field.h"
#include "many_maps.h"
#include "bench_session.h"
#include "silent_prompts.h"

#include "model/map/map_renderer.h"
#include "session/catalogue_check.h"
#include "session/editor_session.h"
#include "session/editor_state.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>

#include <zlib.h>

namespace {

bool runKartola(const QString& dir, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/kartola"));
    process.setArguments(QStringList{QStringLiteral("--catalogue"), dir, QDir(dir).filePath(QStringLiteral("demo.gbc"))}
                         + arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    return process.waitForFinished(-1) && process.exitCode() == 0;
}

void batchOnThreads(int rounds, int maps, const QString& action, bool withOne)
{
    QTemporaryDir dir;
    QString error;
    if (!writeDemoData(dir.path(), &error) || !bench::writeManyMaps(dir.path(), maps)) {
        std::printf("cannot write the catalogue\n");
        return;
    }
    const QString out = dir.filePath(QStringLiteral("out"));
    const auto on = [&](int threads) {
        QStringList arguments{QStringLiteral("--threads"), QString::number(threads), action};
        if (action == QStringLiteral("--export-pictures"))
            arguments << out;
        if (!runKartola(dir.path(), arguments))
            std::printf("  (the run failed)\n");
    };
    const bench::Figures two = bench::measure(rounds, {}, [&] { on(2); });
    const QByteArray label = QStringLiteral("%1 of %2 maps, 2 threads").arg(action).arg(maps).toUtf8();
    bench::printSpread(label.constData(), two);
    if (!withOne)
        return;
    const bench::Figures one = bench::measure(rounds, {}, [&] { on(1); });
    const QByteArray oneLabel = QStringLiteral("%1 of %2 maps, 1 thread").arg(action).arg(maps).toUtf8();
    bench::printSpread(oneLabel.constData(), one);
    std::printf("  2 threads against 1: %.2f x faster (target >= 1.7)\n", one.median / two.median);
}

// The check of 1,000 maps inside one process, its files parsed already:
// what the threads share, without the process's start and the first parse.
void checkInProcess(int rounds, int maps)
{
    QTemporaryDir dir;
    QString error;
    if (!writeDemoData(dir.path(), &error) || !bench::writeManyMaps(dir.path(), maps))
        return;
    bench::BenchSession bench;
    if (!bench.open(dir.path()))
        return;
    const EditorState& state = *bench.state;
    const auto on = [&](int threads) {
        return bench::measure(rounds, {}, [&] { CatalogueCheck(state.core.catalogue, state.core.rom, threads).run(); });
    };
    on(1);   // the files parsed once
    const bench::Figures two = on(2), one = on(1);
    std::printf("the check of %d maps in one process:\n", maps);
    bench::printSpread("  2 threads", two);
    bench::printSpread("  1 thread", one);
    std::printf("  2 threads against 1: %.2f x faster\n", one.median / two.median);
}

void pngAgainstZlib(int rounds)
{
    QTemporaryDir dir;
    bench::BenchSession bench;
    if (!bench::writeBenchField(dir.path()) || !bench.open(dir.path(), bench::Map))
        return;
    const EditorState& state = *bench.state;
    const MapRenderer renderer(state.core.map, state.map, state.pictures);
    const int width = int(renderer.viewWidth(100)), height = int(renderer.viewHeight(100));
    // The rows as the PNG holds them, drawn once: a filter byte and the pixels.
    const qsizetype rowBytes = qsizetype(width) * 3 + 1;
    QByteArray rows(rowBytes * height, '\0');
    for (int top = 0; top < height; top += 64) {
        const int count = qMin(64, height - top);
        renderer.renderPacked({reinterpret_cast<uchar*>(rows.data()) + top * rowBytes + 1, rowBytes, top, count, false});
    }
    QByteArray deflated(qsizetype(compressBound(uLong(rows.size()))), '\0');
    uLongf zlibSize = 0;
    const bench::Figures zlib = bench::measure(rounds, {}, [&] {
        zlibSize = uLongf(deflated.size());
        compress2(reinterpret_cast<Bytef*>(deflated.data()), &zlibSize, reinterpret_cast<const Bytef*>(rows.constData()),
                  uLong(rows.size()), 6);
    });
    const QString png = dir.filePath(QStringLiteral("map.png"));
    QString error;
    const bench::Figures save = bench::measure(rounds, {}, [&] { renderer.writePicture(png, &error); });
    std::printf("PNG of the %d x %d block map (%d x %d pixels)\n", bench::Side, bench::Side, width, height);
    bench::printSpread("zlib level 6 alone on the same rows", zlib);
    bench::printSpread("Save Map Picture as PNG", save);
    const double pngSize = double(QFileInfo(png).size());
    std::printf("  time %.2f x zlib's (target <= 0.6); size %.0f bytes against %lu: %+.2f %% (target <= +5 %%)\n",
                save.median / zlib.median, pngSize, static_cast<unsigned long>(zlibSize),
                100 * (pngSize / double(zlibSize) - 1));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 11;
    const bool checkOnly = argc > 2 && QByteArray(argv[2]) == "check";
    if (!checkOnly)
        pngAgainstZlib(rounds);
    batchOnThreads(rounds, 1000, QStringLiteral("--check"), true);
    checkInProcess(rounds, 1000);
    if (!checkOnly)
        batchOnThreads(rounds, 1000, QStringLiteral("--export-pictures"), true);
    batchOnThreads(rounds, 10000, QStringLiteral("--check"), false);
    return 0;
}
