#pragma once

// The largest map the editor takes, on the demo cartridge: a program
// directory with the demo catalogue and tile pictures, and a 100 x 100 block
// map "Bench Field" of demo tileset 1 (category "Bench") appended to the
// demo image, with 50 warps, 50 signposts and 50 people.
#include "base/catalogue_integer.h"
#include "base/ini_file.h"
#include "demo_data.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace bench {

inline constexpr int Side = 100;   // blocks across and down
inline const QString Category = QStringLiteral("Bench");
inline const QString Map = QStringLiteral("Bench Field");

inline bool writeBenchField(const QString& dir)
{
    QString error;
    if (!writeDemoData(dir, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    const QDir d(dir);
    QFile rom(d.filePath(QStringLiteral("demo.gbc")));
    if (!rom.open(QIODevice::ReadWrite))
        return false;
    const qint64 mapStart = rom.size();
    const int blocks = catalogueInteger(IniFile(d.filePath(QStringLiteral("Tilesets.ini")))
                                            .readString(QStringLiteral("1"), QStringLiteral("Blocks")), 16);
    QByteArray tail(Side * Side, '\0');
    for (int i = 0; i < tail.size(); ++i)
        tail[i] = char(1 + (i * 7 + i / Side) % qMax(1, blocks));
    // Event tables: warps along row 0, signposts along row 1, people along row 2.
    const qint64 warps = mapStart + tail.size(), signposts = warps + 250, people = signposts + 250;
    QByteArray events(250 + 250 + 650, '\0');
    for (int i = 0; i < 50; ++i) {
        events[i * 5 + 1] = char(i);
        events[250 + i * 5] = 1;
        events[250 + i * 5 + 1] = char(i);
        events[500 + i * 13 + 1] = char(2 + 4);
        events[500 + i * 13 + 2] = char(i + 4);
    }
    rom.seek(mapStart);
    if (rom.write(tail + events) != tail.size() + events.size())
        return false;
    rom.close();

    const auto hex = [](qint64 v) { return QStringLiteral("$%1").arg(v, 0, 16); };
    IniFile maps(d.filePath(QStringLiteral("Maps.Ini")));
    IniFile main(d.filePath(QStringLiteral("Main.Ini")));
    IniFile eventsIni(d.filePath(QStringLiteral("Events.ini")));
    return maps.writeString(Map, QStringLiteral("Start offset"), hex(mapStart))
        && maps.writeString(Map, QStringLiteral("End offset"), hex(mapStart + Side * Side - 1))
        && maps.writeString(Map, QStringLiteral("X size"), QString::number(Side))
        && maps.writeString(Map, QStringLiteral("Y size"), QString::number(Side))
        && maps.writeString(Map, QStringLiteral("Tileset"), QStringLiteral("1"))
        && main.writeString(Category, QStringLiteral("1"), Map)
        && eventsIni.writeString(Map, QStringLiteral("Warps"), QStringLiteral("50"))
        && eventsIni.writeString(Map, QStringLiteral("Warp offset"), hex(warps))
        && eventsIni.writeString(Map, QStringLiteral("Singposts"), QStringLiteral("50"))
        && eventsIni.writeString(Map, QStringLiteral("Singpost offset"), hex(signposts))
        && eventsIni.writeString(Map, QStringLiteral("Peoples"), QStringLiteral("50"))
        && eventsIni.writeString(Map, QStringLiteral("People offset"), hex(people));
}

// A catalogue file settled on disk, as a user's is: written, then dated a
// minute back, so that reads trust its time stamp.
inline bool writeSettledFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    if (!file.open(QIODevice::ReadWrite))
        return false;
    return file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
}

struct Figures {
    double median = 0, best = 0, most = 0;
};

// Runs `step` `runs` times (with `prepare` untimed before each); milliseconds.
inline Figures measure(int runs, const std::function<void()>& prepare, const std::function<void()>& step)
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
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

// One line of figures: the median with the spread, against `target` when one is given.
inline void printSpread(const char* what, const Figures& f, double target = 0)
{
    std::printf("%-44s median %9.2f ms  (%.2f .. %.2f)", what, f.median, f.best, f.most);
    if (target > 0)
        std::printf("  target < %g %s", target, f.median < target ? "ok" : "SLOW");
    std::printf("\n");
}

// The time of copying `pixels` 32-bit pixels with memcpy, measured now.
inline double memcpyMs(qint64 pixels)
{
    std::vector<char> from(size_t(pixels) * 4, 1), to(size_t(pixels) * 4, 0);
    return measure(9, {}, [&] {
               std::memcpy(to.data(), from.data(), from.size());
               from[size_t(pixels) % from.size()] = to[0];
           }).median;
}

inline void print(const char* what, const Figures& f, double target, qint64 pixels)
{
    std::printf("%-40s median %9.4f ms  best %9.4f ms  target < %-5g %-4s", what, f.median, f.best, target,
                f.median < target ? "ok" : "SLOW");
    if (pixels > 0)
        std::printf("  memcpy of %9lld px: %8.4f ms", static_cast<long long>(pixels), memcpyMs(pixels));
    std::printf("\n");
}

// Peak and present resident memory of this process, in MiB.
inline void printMemory(const char* when, double target)
{
    QFile status(QStringLiteral("/proc/self/status"));
    double peak = -1, now = -1;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
            if (line.startsWith("VmRSS:"))
                now = line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
    std::printf("%-40s peak %7.1f MiB  now %7.1f MiB     target < %-5g %s\n", when, peak, now, target,
                peak >= 0 && peak < target ? "ok" : "HIGH");
}

} // namespace bench
