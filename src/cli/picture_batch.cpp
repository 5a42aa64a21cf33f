#include "cli/picture_batch.h"

#include "base/job_runner.h"
#include "base/safe_write.h"
#include "model/catalogue/catalogue.h"
#include "model/events/event_tables.h"
#include "model/map/block_pictures.h"
#include "model/map/map_picture.h"
#include "model/map/map_state.h"
#include "model/map/tileset_build.h"
#include "model/rom/rom_image.h"
#include "session/catalogue_maps.h"
#include "session/map_pick.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QTemporaryFile>
#include <QTextStream>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// Maps out on the threads ahead of the one whose lines are written next.
constexpr int MapsAheadPerThread = 2;
// The least a folder must still take after a picture failed there.
constexpr qint64 MinProbeSize = 64 * 1024;

// Block picture caches, one per job running: a job takes one no other job
// holds and gives it back when done. A tileset is built the same from any
// map of it, so which cache a map gets does not change its picture.
class PictureCaches {
public:
    std::unique_ptr<BlockPictures> take()
    {
        const QMutexLocker lock(&m_lock);
        if (m_free.empty())
            return std::make_unique<BlockPictures>();
        std::unique_ptr<BlockPictures> cache = std::move(m_free.back());
        m_free.pop_back();
        return cache;
    }
    void give(std::unique_ptr<BlockPictures> cache)
    {
        const QMutexLocker lock(&m_lock);
        m_free.push_back(std::move(cache));
    }

private:
    QMutex m_lock;
    std::vector<std::unique_ptr<BlockPictures>> m_free;
};

// What one map's job says, in the order a pick and a save would say it.
struct MapOutcome {
    QStringList lines;
    bool failed = false;
};

MapOutcome drawMap(const Catalogue& catalogue, const RomImage& rom, const PreparedPick& pick, bool grid,
                   const QString& path, PictureCaches& caches)
{
    MapOutcome outcome;
    std::unique_ptr<BlockPictures> pictures = caches.take();
    if (!pictures->built(pick.record.TilesetNumber))
        buildTileset(rom, pick.record, pick.picture, *pictures);
    MapState map;
    map.readMap(rom, pick.record);
    EventState events;
    const QString eventsProblem = loadEventTables(catalogue.EventsIni, pick.record.name, rom, events);
    if (!eventsProblem.isEmpty())
        outcome.lines << eventsProblem;
    const QString wild = encounterTableProblem(pick.record, rom);
    if (!wild.isEmpty())
        outcome.lines << wild;
    // This job is one of the pool's already: the PNG is deflated right here.
    QString error;
    if (!writeMapPicture(pick.record, map, *pictures, grid, path, &error, 1)) {
        outcome.lines << error;
        outcome.failed = true;
    }
    caches.give(std::move(pictures));
    return outcome;
}

// Whether `folder` still takes a file of `size` bytes; why not in `reason`.
// A picture that could not be written there tells a name that cannot be
// taken (the batch goes on) from a folder that is full (it stops).
bool folderTakes(const QString& folder, qint64 size, QString* reason)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("kartola-XXXXXX.tmp")));
    if (!probe.open()) {
        *reason = probe.errorString();
        return false;
    }
    return putBytesOnDevice(probe, QByteArray(qsizetype(size), '\0'), reason);
}

} // namespace

QString pictureName(const QString& map)
{
    QString name;
    for (QChar c : map)
        name += (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) ? QLatin1Char('_') : c;
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral(".."))
        name.replace(QLatin1Char('.'), QLatin1Char('_')).append(QLatin1Char('_'));
    return name;
}

bool PictureBatch::run(QTextStream& err) const
{
    const QDir directory(folder);
    // A map listed in two categories is written once.
    QStringList maps;
    QSet<QString> listed;
    for (const CatalogueMap& map : catalogueMaps(catalogue.MainIni))
        if (!listed.contains(map.name)) {
            listed.insert(map.name);
            maps << map.name;
        }
    PictureCaches caches;
    TilePictureCache tilePictures;
    QSet<QString> written;   // case-folded file names taken
    int failures = 0;
    // Once the folder is full, it is said once and no other map is drawn.
    std::atomic<bool> full = false;
    qint64 largest = MinProbeSize;   // the largest picture written, for the probe
    JobRunner jobs(threads <= 1 ? 0 : threads, MapsAheadPerThread * threads);
    for (qsizetype i = 0; i < maps.size() && !full; ++i) {
        const QString& map = maps.at(i);
        const QString progress = QStringLiteral("[%1/%2] %3").arg(i + 1).arg(maps.size()).arg(map);
        // The pick's refusal and the file name are settled here, in order:
        // a name goes only to a map that was picked.
        QString refusal;
        std::optional<PreparedPick> pick = prepareMapPick(catalogue, rom, map, true, &refusal, &tilePictures);
        if (!pick) {
            if (refusal.isEmpty())
                refusal = QStringLiteral("Map \"%1\" has no section in Maps.Ini.").arg(map);
            jobs.add([&err, &failures, &full, progress, refusal](JobRunner::Job&) -> JobRunner::Handover {
                return {[&err, &failures, &full, progress, refusal] {
                    if (full)
                        return;
                    err << progress << '\n' << refusal << '\n';
                    err.flush();
                    ++failures;
                }};
            });
            continue;
        }
        // Two names that differ only where a file system cannot follow
        // still get files of their own.
        QString base = pictureName(map);
        for (int n = 2; written.contains(base.toCaseFolded()); ++n)
            base = QStringLiteral("%1 (%2)").arg(pictureName(map)).arg(n);
        written.insert(base.toCaseFolded());
        const QString path = directory.filePath(base + QStringLiteral(".png"));
        const qsizetype left = maps.size() - i - 1;
        jobs.add([this, &err, &failures, &caches, &full, &largest, progress, path, left,
                  pick = std::move(*pick)](JobRunner::Job&) -> JobRunner::Handover {
            if (full)
                return {};
            const MapOutcome outcome = drawMap(catalogue, rom, pick, grid, path, caches);
            return {[this, &err, &failures, &full, &largest, progress, path, left, outcome] {
                if (full)
                    return;
                err << progress << '\n';
                for (const QString& line : outcome.lines)
                    err << line << '\n';
                QString reason;
                if (!outcome.failed)
                    largest = qMax(largest, QFileInfo(path).size());
                else if (!folderTakes(folder, largest, &reason)) {
                    err << QStringLiteral("Cannot write to folder %1: %2; %3 more maps were not drawn.")
                               .arg(folder, reason)
                               .arg(left)
                        << '\n';
                    full = true;
                }
                err.flush();
                failures += outcome.failed ? 1 : 0;
            }};
        });
    }
    jobs.finish();
    return failures == 0;
}
