#include "ui/main/map_file_commands.h"

#include "session/editor_session.h"
#include "session/map_file.h"
#include "base/safe_write.h"
#include "model/map/map_renderer.h"
#include "model/map/picture_file.h"
#include "base/prompts.h"

#include <QImage>

const QString MapFileCommands::MapFilter = QStringLiteral("Maps (*.map)|*.map|All Files (*.*)|*.*");
const QString MapFileCommands::PictureFilter =
    QStringLiteral("Device Intependent Bitmap (*.DIB)|*.DIB|PNG image (*.png)|*.png|All files (*.*)|*.*");

MapFileCommands::MapFileCommands(EditorSession& session)
    : m_session(session), m_state(session.state()), m_prompts(session.prompts())
{
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

void MapFileCommands::SaveMapPicture1Click(const MapRenderer& map)
{
    const std::optional<QString> path = askPicturePath();
    if (!path)
        return;
    QString error;
    if (!map.writePicture(*path, &error))
        m_prompts.error(error);
}

void MapFileCommands::SaveTilesetPicture1Click(const QImage& paletteImage)
{
    const std::optional<QString> path = askPicturePath();
    QString error;
    if (path && !writePictureFile(*path, paletteImage, &error))
        m_prompts.error(error);
}
