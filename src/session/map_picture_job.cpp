#include "session/map_picture_job.h"

#include "model/map/block_pictures.h"
#include "model/map/map_renderer.h"
#include "model/map/map_state.h"
#include "base/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>

namespace {
QString cannotCreate(const QString& path)
{
    return QStringLiteral("Cannot create file %1").arg(path);
}

// A name beside `path` that no file has, with its suffix (which says the
// picture's format): the picture is written there first.
QString partName(const QString& path)
{
    const QFileInfo target(path);
    const QString suffix = target.suffix().isEmpty() ? QString() : QLatin1Char('.') + target.suffix();
    QTemporaryFile reserve(target.dir().filePath(target.completeBaseName() + QStringLiteral(".part-XXXXXX") + suffix));
    reserve.setAutoRemove(true);
    return reserve.open() ? reserve.fileName() : QString();
}
} // namespace

MapPictureJob::MapPictureJob(QObject* parent) : QObject(parent) {}

bool MapPictureJob::start(const MapRecord& map, const MapState& bytes, const BlockPictures& pictures, bool grid,
                          const QString& path)
{
    if (m_run.isRunning())
        return false;
    m_progress.restart();
    m_run.add([this, map, bytes, pictures, grid, path](JobRunner::Job&) -> JobRunner::Handover {
        MapRenderer renderer(map, bytes, pictures);
        renderer.setGrid(grid);
        // The whole picture is put in place only at the hand-over, so that a
        // stop asked until then leaves no file.
        const QString part = partName(path);
        QString error;
        const bool written = !part.isEmpty()
                             && renderer.writePicture(part, &error, QThread::idealThreadCount(), &m_progress);
        return {[this, path, part, written] { handOver(path, written ? part : QString()); },
                [this, path, part, written] { dropped(path, written ? part : QString()); }};
    }, &m_progress);
    return true;
}

void MapPictureJob::dropped(const QString& path, const QString& part)
{
    // Stopped until the hand-over: nothing is put in place.
    if (!part.isEmpty())
        QFile::remove(part);
    emit finished(path, QString(), true);
}

void MapPictureJob::handOver(const QString& path, const QString& part)
{
    if (part.isEmpty() || !replaceFileWith(path, part)) {
        if (!part.isEmpty())
            QFile::remove(part);
        emit finished(path, cannotCreate(path), false);
        return;
    }
    emit finished(path, QString(), false);
}
