// Measures making and applying BPS and IPS patches for an 8 MiB image: one
// with a few hundred scattered changes (an editing session), and one where
// every byte differs (the worst case for the writers), and the BPS of 64 KiB
// inserted in the middle (data moved), as median and range of 11 runs.
// Usage: bench_patch [ROUNDS]   (default 5; the best round is shown)
#include "base/work_progress.h"
#include "model/rom/bps_patch.h"
#include "model/rom/ips_patch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QByteArray noise(qint64 size, quint32 seed)
{
    QByteArray out(size, '\0');
    QRandomGenerator random(seed);
    for (qint64 i = 0; i < size; ++i)
        out[i] = char(random.bounded(256));
    return out;
}

double bestMs(int rounds, const std::function<bool()>& work)
{
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        if (!work())
            std::fprintf(stderr, "the work failed\n");
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

void measure(const char* name, const QByteArray& source, const QByteArray& target, int rounds)
{
    QByteArray bps;
    QByteArray ips;
    const double makeBps = bestMs(rounds, [&] { bps = makeBpsPatch(source, target); return !bps.isEmpty(); });
    const double applyBps = bestMs(rounds, [&] { return applyBpsPatch(source, bps).image == target; });
    const double makeIps = bestMs(rounds, [&] {
        const PatchResult made = makeIpsPatch(source, target);
        ips = made.image.value_or(QByteArray());
        return made.image.has_value();
    });
    const double applyIps = bestMs(rounds, [&] { return applyIpsPatch(source, ips).image == target; });
    // The same with progress reports, as Apply Patch in the window runs it.
    WorkProgress progress;
    const double applyBpsReported = bestMs(rounds, [&] { return applyBpsPatch(source, bps, &progress).image == target; });
    const double applyIpsReported = bestMs(rounds, [&] { return applyIpsPatch(source, ips, &progress).image == target; });
    std::printf("%-22s BPS make %7.1f ms  apply %7.1f ms, reporting %7.1f ms  (%lld bytes)\n", name, makeBps,
                applyBps, applyBpsReported, static_cast<long long>(bps.size()));
    std::printf("%-22s IPS make %7.1f ms  apply %7.1f ms, reporting %7.1f ms  (%lld bytes)\n", name, makeIps,
                applyIps, applyIpsReported, static_cast<long long>(ips.size()));
}

// A patch of moved data: 64 KiB of new bytes in the middle of the image.
void measureInsertion(const QByteArray& source)
{
    const qint64 middle = source.size() / 2;
    const QByteArray target = source.left(middle) + noise(64 * 1024, 4) + source.mid(middle);
    std::vector<double> ms;
    QByteArray bps;
    for (int r = 0; r < 11; ++r) {
        QElapsedTimer t;
        t.start();
        bps = makeBpsPatch(source, target);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const bool applies = applyBpsPatch(source, bps).image == target;
    std::printf("%-22s BPS make median %7.1f ms (range %.1f..%.1f, target < 1000)  %lld bytes (target < %d) %s\n",
                "8 MiB, 64 KiB inserted", ms[5], ms.front(), ms.back(), static_cast<long long>(bps.size()),
                2 * 65700, applies ? "applies" : "FAILS");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const qint64 size = 8 * 1024 * 1024;
    const QByteArray source = noise(size, 1);
    QByteArray edited = source;
    QRandomGenerator random(2);
    for (int i = 0; i < 300; ++i)
        edited[random.bounded(int(size))] = char(random.bounded(256));
    measure("8 MiB, 300 changes", source, edited, rounds);
    measure("8 MiB, all changed", source, noise(size, 3), rounds);
    measureInsertion(source);
    return 0;
}
