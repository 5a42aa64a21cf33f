// Measures the catalogue commands on large inputs: Find Map Data over an
// 8 MiB image, and the write of a new map (checks, four files, NAME.bak and
// the undo texts) into a catalogue of 10,000 maps.
// and a step of Map Properties' preview of a 100 x 100 map.
// Usage: bench_catalogue [find|write|preview] [ROUNDS]   (default: both, 7 rounds)
// Prints the median with the fastest and slowest round.
#include "model/catalogue/catalogue.h"
#include "model/catalogue/catalogue_writer.h"
#include "model/map/map_data_finder.h"
#include "model/rom/rom_image.h"
#include "session/map_preview.h"

#include <QImage>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-48s median %8.2f ms   (min %.2f, max %.2f, %zu rounds)\n", what, ms[ms.size() / 2], ms.front(),
                ms.back(), ms.size());
}

std::vector<double> rounds(int n, const std::function<void(int)>& body)
{
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        body(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

// An 8 MiB image of the kind a cartridge is: runs of small numbers (map and
// block data), long runs of one byte (empty space) and noise (code, graphics).
QByteArray cartridgeLike()
{
    QByteArray image(8 * 1024 * 1024, '\0');
    QRandomGenerator random(35);
    qsizetype i = 0;
    while (i < image.size()) {
        const qsizetype run = qMin<qsizetype>(image.size() - i, 16 + random.bounded(4000));
        const int kind = random.bounded(3);
        for (qsizetype k = 0; k < run; ++k)
            image[i + k] = kind == 0 ? char(1 + random.bounded(40)) : kind == 1 ? char(0xFF) : char(random.bounded(256));
        i += run;
    }
    return image;
}

void benchFind(int n)
{
    const QByteArray image = cartridgeLike();
    qsizetype found = 0;
    report("Find Map Data, 8 MiB, 60 blocks, width 20", rounds(n, [&](int) {
               found += findMapData(image, {60, 20, 2, 500}).size();
           }));
    if (found == 0)
        std::fprintf(stderr, "nothing found\n");
}

void benchWrite(int n)
{
    QTemporaryDir dir;
    QByteArray main = "[Everything]\r\n", maps, events;
    for (int k = 1; k <= 10000; ++k) {
        const QByteArray name = "Map " + QByteArray::number(k);
        main += QByteArray::number(k) + "=" + name + "\r\n";
        maps += "[" + name + "]\r\nStart offset=0x" + QByteArray::number(0x10000 + k * 100, 16).toUpper()
            + "\r\nEnd offset=0x" + QByteArray::number(0x10000 + k * 100 + 99, 16).toUpper()
            + "\r\nX size=10\r\nY size=10\r\nTileset=1\r\nComment=A map\r\n";
        events += "[" + name + "]\r\nWarps=1\r\nWarp offset=$4000\r\nSingposts=0\r\nSingpost offset=0\r\nPeoples=0\r\nPeople offset=0\r\n";
    }
    auto put = [&](const char* file, const QByteArray& bytes) {
        QFile f(dir.filePath(QLatin1String(file)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::fprintf(stderr, "cannot write %s\n", file);
    };
    put("Main.Ini", main);
    put("Maps.Ini", maps);
    put("Events.ini", events);
    put("Critters.ini", "[Settings]\r\nGrid=0\r\n");
    put("Tilesets.ini", "[1]\r\nBlocks=60\r\nStart offset=0x8000\r\nTiles=t.bmp\r\n");
    const Catalogue catalogue(dir.path());
    const qint64 romSize = 4 * 1024 * 1024;
    catalogue.MainIni.sections(); // parsed once, as in an editor that shows the catalogue
    report("OK of New Map, 10,000-map catalogue", rounds(n, [&](int i) {
               MapFields m;
               m.name = QStringLiteral("New %1").arg(i);
               m.category = QStringLiteral("Everything");
               m.start = 0x200000 + i * 100;
               m.width = m.height = 10;
               m.warps = 1;
               m.warpOffset = 0x300000;
               const CatalogueWrite w = CatalogueWriter(catalogue, romSize).writeMap(m, true);
               if (!w.ok())
                   std::fprintf(stderr, "%s\n", qPrintable(w.refusal));
           }));
}

// A preview step of Map Properties: the start offset moved by a byte, the
// record checked and the 100 x 100 map drawn again.
void benchPreview(int n)
{
    QTemporaryDir dir;
    QImage tiles(256, 96, QImage::Format_RGB32);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 256; ++x)
            tiles.setPixel(x, y, qRgb(x, y * 2, (x * y) & 0xFF));
    tiles.save(dir.filePath(QStringLiteral("t.bmp")));
    QFile main(dir.filePath(QStringLiteral("Main.Ini"))), sets(dir.filePath(QStringLiteral("Tilesets.ini")));
    if (!main.open(QIODevice::WriteOnly) || !sets.open(QIODevice::WriteOnly))
        std::fprintf(stderr, "cannot write the catalogue\n");
    main.write("[Fields]\r\n");
    sets.write("[1]\r\nBlocks=60\r\nStart offset=0x100\r\nTiles=t.bmp\r\n");
    main.close();
    sets.close();
    const Catalogue catalogue(dir.path());
    RomImage rom;
    QByteArray bytes(1024 * 1024, '\0');
    QRandomGenerator random(35);
    for (char& b : bytes)
        b = char(1 + random.bounded(60));
    rom.setBytes(bytes);
    MapPreviewDrawer drawer(catalogue, rom);
    MapFields map;
    map.name = QStringLiteral("Big");
    map.category = QStringLiteral("Fields");
    map.start = 0x10000;
    map.width = map.height = 100;
    map.tileset = 1;
    drawer.draw(map, true, 320); // the tileset built once, as when the dialog opens
    report("Map Properties preview step, 100 x 100", rounds(n, [&](int i) {
               map.start = 0x10000 + i + 1;
               if (drawer.draw(map, true, 320).picture.isNull())
                   std::fprintf(stderr, "no preview\n");
           }));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int n = argc > 2 ? qBound(1, atoi(argv[2]), 1000) : 7;
    if (what.isEmpty() || what == QLatin1String("find"))
        benchFind(n);
    if (what.isEmpty() || what == QLatin1String("write"))
        benchWrite(n);
    if (what.isEmpty() || what == QLatin1String("preview"))
        benchPreview(n);
    return 0;
}
