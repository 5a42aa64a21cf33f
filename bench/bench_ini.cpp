// Measures filling the map chooser from a category of Main.Ini: the key
// list of the category, then one string read per map, as a category pick
// does. Three figures per size: the first fill after start (the file is
// parsed once), a fill of a file settled on disk (served from the parsed
// copy), and a fill of a file written a moment ago (its bytes are compared
// at every read until its time stamp is old enough to trust).
// With a catalogue folder, also the bytes each of its parsed files keeps
// against the file's text, and the time of a first and a settled fill of its
// longest category (medians of ROUNDS with the spread).
// Usage: bench_ini [ROUNDS [CATALOGUE_DIR]]   (default 5; the best round is shown)
#include "session/catalogue_maps.h"
#include "base/ini_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray mainIni(int maps)
{
    QByteArray out;
    for (int c = 0; c < 5; ++c) {
        out += "[Category " + QByteArray::number(c) + "]\r\n";
        const int n = c == 2 ? maps : 40;
        for (int k = 1; k <= n; ++k)
            out += QByteArray::number(k) + "=Map " + QByteArray::number(c) + "-" + QByteArray::number(k) + "\r\n";
        out += "\r\n";
    }
    return out;
}

QStringList fill(const IniFile& index, const QString& category)
{
    return categoryMaps(index, category);
}

double fillMs(const IniFile& index, bool dropFirst)
{
    if (dropFirst)
        IniFile::dropCache();
    QElapsedTimer t;
    t.start();
    const QStringList maps = fill(index, QStringLiteral("Category 2"));
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (maps.isEmpty())
        std::fprintf(stderr, "no maps read\n");
    return ms;
}

struct Spread {
    double median = 0, least = 0, most = 0;
};

Spread spreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

void catalogueFigures(int rounds, const QString& dir)
{
    std::printf("\n%-14s %10s %10s %8s\n", "file", "text", "kept", "ratio");
    qint64 allText = 0, allKept = 0;
    for (const QString& name : QDir(dir).entryList({QStringLiteral("*.ini"), QStringLiteral("*.Ini")}, QDir::Files)) {
        const IniFile ini(QDir(dir).filePath(name));
        IniFile::dropCache();
        ini.sections();
        const qint64 text = QFileInfo(ini.path()).size(), kept = IniFile::cacheBytes();
        allText += text;
        allKept += kept;
        std::printf("%-14s %10lld %10lld %8.2f\n", qPrintable(name), static_cast<long long>(text),
                    static_cast<long long>(kept), double(kept) / double(std::max<qint64>(1, text)));
    }
    std::printf("%-14s %10lld %10lld %8.2f  (target <= 3)\n", "all", static_cast<long long>(allText),
                static_cast<long long>(allKept), double(allKept) / double(std::max<qint64>(1, allText)));

    const IniFile index(QDir(dir).filePath(QStringLiteral("Main.Ini")));
    QString longest;
    qsizetype most = -1;
    for (const QString& category : index.sections())
        if (index.keys(category).size() > most) {
            most = index.keys(category).size();
            longest = category;
        }
    std::vector<double> first, settled;
    for (int r = 0; r < rounds; ++r) {
        IniFile::dropCache();
        QElapsedTimer t;
        t.start();
        categoryMaps(index, longest);
        first.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        categoryMaps(index, longest);
        settled.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const Spread f = spreadOf(first), s = spreadOf(settled);
    std::printf("category \"%s\" of %lld maps: first fill median %.2f ms (%.2f .. %.2f), settled %.2f ms (%.2f .. %.2f)\n",
                qPrintable(longest), static_cast<long long>(most), f.median, f.least, f.most, s.median, s.least,
                s.most);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    std::printf("%6s %12s %12s %12s\n", "maps", "first (ms)", "settled (ms)", "fresh (ms)");
    for (int maps : {100, 300, 1000}) {
        const QString path = dir.filePath(QStringLiteral("Main.Ini"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        file.write(mainIni(maps));
        file.close();
        const IniFile index(path);

        // Written just now: reads compare bytes until the time stamp settles.
        double fresh = 1e9;
        for (int r = 0; r < rounds; ++r)
            fresh = std::min(fresh, fillMs(index, r == 0));

        // Settled on disk: an old modification time.
        if (!file.open(QIODevice::ReadWrite))
            return 1;
        file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
        file.close();
        double first = 1e9, settled = 1e9;
        for (int r = 0; r < rounds; ++r) {
            first = std::min(first, fillMs(index, true));
            settled = std::min(settled, fillMs(index, false));
        }
        std::printf("%6d %12.2f %12.2f %12.2f\n", maps, first, settled, fresh);
    }
    if (argc > 2)
        catalogueFigures(rounds, QString::fromLocal8Bit(argv[2]));
    return 0;
}
