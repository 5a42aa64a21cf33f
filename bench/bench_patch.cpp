// Measures making and applying BPS and IPS patches for an 8 MiB image: one
// with a few hundred scattered changes (an editing session), and one where
// every byte differs (the worst case for the writers), and the BPS of 64 KiB
// inserted in the middle (data moved); each figure the median and range of
// ROUNDS runs.
// Usage: bench_patch [ROUNDS]                  (default 11)
//        bench_patch --insertion MIB [ROUNDS]  64 KiB inserted into an image of MIB MiB, BPS make only;
//                                              with ROUNDS 1, for a peak memory taken from outside
//        bench_patch --files SOURCE TARGET PATCH  the BPS of two files, as a whole process
//        bench_patch --write-insertion MIB DIR the images of --insertion as DIR/source.bin and
//                                              DIR/target.bin, for other tools to be timed on
#include "base/safe_write.h"
#include "base/work_progress.h"
#include "model/rom/bps_patch.h"
#include "model/rom/ips_patch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

void fillNoise(char* out, qint64 size, quint32 seed)
{
    QRandomGenerator random(seed);
    for (qint64 i = 0; i < size; i += 4) {
        const quint32 word = random.generate();
        std::memcpy(out + i, &word, size_t(qMin<qint64>(4, size - i)));
    }
}

QByteArray noise(qint64 size, quint32 seed)
{
    QByteArray out(size, Qt::Uninitialized);
    fillNoise(out.data(), size, seed);
    return out;
}

struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

Spread timesMs(int rounds, const std::function<bool()>& work)
{
    std::vector<double> ms;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        if (!work())
            std::fprintf(stderr, "the work failed\n");
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

void printRow(const char* name, const char* what, const Spread& spread, qint64 bytes = -1)
{
    std::printf("%-22s %-30s %8.1f ms (%.1f..%.1f)", name, what, spread.median, spread.min, spread.max);
    if (bytes >= 0)
        std::printf("  %lld bytes", static_cast<long long>(bytes));
    std::printf("\n");
}

void measure(const char* name, const QByteArray& source, const QByteArray& target, int rounds)
{
    QByteArray bps;
    QByteArray same;
    QByteArray ips;
    const Spread makeBps = timesMs(rounds, [&] { bps = makeBpsPatch(source, target); return !bps.isEmpty(); });
    printRow(name, "BPS make", makeBps, bps.size());
    const Spread makeSame = timesMs(rounds, [&] {
        same = makeBpsPatch(source, target, {}, BpsSearch::SameOffset);
        return !same.isEmpty();
    });
    printRow(name, "BPS make, same offset only", makeSame, same.size());
    printRow(name, "BPS apply", timesMs(rounds, [&] { return applyBpsPatch(source, bps).image == target; }));
    const Spread makeIps = timesMs(rounds, [&] {
        const PatchResult made = makeIpsPatch(source, target);
        ips = made.image.value_or(QByteArray());
        return made.image.has_value();
    });
    printRow(name, "IPS make", makeIps, ips.size());
    printRow(name, "IPS apply", timesMs(rounds, [&] { return applyIpsPatch(source, ips).image == target; }));
    // The same with progress reports, as Apply Patch in the window runs it.
    WorkProgress progress;
    printRow(name, "BPS apply, reporting",
             timesMs(rounds, [&] { return applyBpsPatch(source, bps, &progress).image == target; }));
    printRow(name, "IPS apply, reporting",
             timesMs(rounds, [&] { return applyIpsPatch(source, ips, &progress).image == target; }));
}

// An image of `size` bytes and the same with 64 KiB of new bytes in its
// middle, the data after them moved up and the last 64 KiB dropped (so that
// the largest image stays one that can be patched), each allocated once: the
// process holds no more than the two.
struct Insertion {
    QByteArray source;
    QByteArray target;
};

Insertion insertion(qint64 size)
{
    constexpr qint64 Inserted = 64 * 1024;
    Insertion images{noise(size, 1), QByteArray(size, Qt::Uninitialized)};
    const qint64 middle = size / 2;
    char* t = images.target.data();
    std::memcpy(t, images.source.constData(), size_t(middle));
    fillNoise(t + middle, Inserted, 4);
    std::memcpy(t + middle + Inserted, images.source.constData() + middle, size_t(size - middle - Inserted));
    return images;
}

void measureInsertion(qint64 size, int rounds)
{
    const Insertion images = insertion(size);
    QByteArray bps;
    const Spread made = timesMs(rounds, [&] { bps = makeBpsPatch(images.source, images.target); return !bps.isEmpty(); });
    const bool applies = applyBpsPatch(images.source, bps).image == images.target;
    const QByteArray name = QByteArray::number(size >> 20) + " MiB, 64 KiB inserted";
    printRow(name.constData(), applies ? "BPS make (applies)" : "BPS make (FAILS to apply)", made, bps.size());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("--insertion")) {
        measureInsertion(qint64(std::max(1, args.value(2).toInt())) << 20, std::max(1, args.value(3, "11").toInt()));
        return 0;
    }
    if (args.value(1) == QStringLiteral("--files")) {
        QFile source(args.value(2));
        QFile target(args.value(3));
        if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bps = makeBpsPatch(source.readAll(), target.readAll());
        return writeFileAtomically(args.value(4), bps) ? 0 : 1;
    }
    if (args.value(1) == QStringLiteral("--write-insertion")) {
        const Insertion images = insertion(qint64(std::max(1, args.value(2).toInt())) << 20);
        const QDir dir(args.value(3));
        const bool written = writeFileAtomically(dir.filePath(QStringLiteral("source.bin")), images.source)
            && writeFileAtomically(dir.filePath(QStringLiteral("target.bin")), images.target);
        return written ? 0 : 1;
    }
    const int rounds = std::max(1, args.value(1, "11").toInt());
    const qint64 size = 8 * 1024 * 1024;
    const QByteArray source = noise(size, 1);
    QByteArray edited = source;
    QRandomGenerator random(2);
    for (int i = 0; i < 300; ++i)
        edited[random.bounded(int(size))] = char(random.bounded(256));
    measure("8 MiB, 300 changes", source, edited, rounds);
    measure("8 MiB, all changed", source, noise(size, 3), rounds);
    measureInsertion(size, rounds);
    return 0;
}
