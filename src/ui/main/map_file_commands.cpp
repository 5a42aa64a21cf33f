#include "ui/main/map_file_commands.h"

#include "session/editor_session.h"
#include "session/map_file.h"
#include "session/map_picture_job.h"
#include "base/safe_write.h"
#include "model/map/picture_file.h"
#include "base/prompts.h"
#include "widgets/work_progress_dialog.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

const QString MapFileCommands::MapFilter = QStringLiteral("Maps (*.map)|*.map|All Files (*.*)|*.*");
const QString MapFileCommands::PictureFilter =
    QStringLiteral("Device Intependent Bitmap (*.DIB)|*.DIB|PNG image (*.png)|*.png|All files (*.*)|*.*");

MapFileCommands::MapFileCommands(EditorSession& session, QWidget* window)
    : m_session(session), m_state(session.state()), m_prompts(session.prompts()),
      m_pictureJob(std::make_unique<MapPictureJob>()), m_progress(std::make_unique<WorkProgressDialog>(window))
{
    QObject::connect(m_pictureJob.get(), &MapPictureJob::finished, m_pictureJob.get(),
                     [this](const QString& path, const QString& error, bool stopped) {
                         m_progress->end();
                         QGuiApplication::restoreOverrideCursor();
                         emit m_session.statusText(
                             stopped ? QStringLiteral("Save Map Picture cancelled: %1 was not written.")
                                           .arg(QFileInfo(path).fileName())
                                     : QString());
                         if (!error.isEmpty())
                             m_prompts.error(error);
                     });
}

MapFileCommands::~MapFileCommands() = default;

void MapFileCommands::finishRunning()
{
    m_pictureJob->finish();
}

bool MapFileCommands::isRunning() const
{
    return m_pictureJob->isRunning();
}

bool MapFileCommands::mapChosen()
{
    if (m_state.core.map.MapStart >= 1)
        return true;
    m_prompts.message(Prompts::Kind::Plain, QStringLiteral("Huh?"));
    return false;
}

void MapFileCommands::SaveMap1Click()
{
    if (!mapChosen())
        return;
    // SaveDialog2 proposes the map's name each time.
    const Prompts::FileRequest request{QString(), MapFilter, QStringLiteral("map"),
                                       m_state.core.map.name + QStringLiteral(".map")};
    const std::optional<QString> path = m_prompts.saveFile(request);
    if (!path)
        return;
    const QByteArray content =
        buildMapFile(m_state.core.map, m_state.map, m_state.events, m_state.encounters);
    if (!writeFileAtomically(*path, content))
        m_prompts.error(QStringLiteral("Cannot create file %1").arg(*path));
}

void MapFileCommands::LoadMap1Click()
{
    if (!mapChosen())
        return;
    const Prompts::FileRequest request{QString(), MapFilter, QStringLiteral("map"), OpenDialog2FileName};
    const std::optional<QString> path = m_prompts.openFile(request);
    if (!path)
        return;
    OpenDialog2FileName = *path;
    const SessionOutcome outcome = m_session.loadMapFile(*path);
    if (outcome.isRefused())
        m_prompts.error(outcome.refusal);
}

std::optional<QString> MapFileCommands::askPicturePath()
{
    const Prompts::FileRequest request{QString(), PictureFilter, QStringLiteral("DIB"), QString()};
    return m_prompts.saveFile(request);
}

void MapFileCommands::SaveMapPicture1Click(bool grid)
{
    // One picture at a time: two could be writing the same file.
    finishRunning();
    const std::optional<QString> path = askPicturePath();
    if (!path)
        return;
    m_pictureJob->start(m_state.core.map, m_state.map, m_state.pictures, grid, *path);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    const QString text = QStringLiteral("Writing %1...").arg(QFileInfo(*path).fileName());
    emit m_session.statusText(text);
    m_progress->begin(m_pictureJob->progress(), text);
}

void MapFileCommands::SaveTilesetPicture1Click(const QImage& paletteImage)
{
    const std::optional<QString> path = askPicturePath();
    QString error;
    if (path && !writePictureFile(*path, paletteImage, &error))
        m_prompts.error(error);
}
