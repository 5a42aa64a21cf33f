#include "app/map_file_commands.h"

#include "app/editor_state.h"
#include "app/map_file.h"
#include "catalogue/safe_write.h"
#include "map/bmp_writer.h"
#include "widgets/prompts.h"

#include <QFile>
#include <QImage>

const QString MapFileCommands::MapFilter = QStringLiteral("Maps (*.map)|*.map|All Files (*.*)|*.*");
const QString MapFileCommands::PictureFilter =
    QStringLiteral("Device Intependent Bitmap (*.DIB)|*.DIB|All files (*.*)|*.*");

MapFileCommands::MapFileCommands(EditorState& state, Prompts& prompts,
                                 std::function<void()> redrawAfterLoad)
    : m_state(state), m_prompts(prompts), m_redrawAfterLoad(std::move(redrawAfterLoad))
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

    // Only the bytes the current map's sections can take are read; the tail
    // of a longer file is ignored anyway.
    const qint64 wanted = MapFileLayout::of(m_state.core.map, m_state.events).totalBytes();
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_prompts.error(QStringLiteral("Cannot open file %1").arg(*path));
        return;
    }
    const QByteArray content = file.read(wanted);
    if (file.error() != QFileDevice::NoError) {
        m_prompts.error(QStringLiteral("Cannot open file %1").arg(*path));
        return;
    }
    readMapFile(content, m_state.core.map, m_state.map, m_state.events, m_state.encounters);
    if (m_redrawAfterLoad)
        m_redrawAfterLoad();
}

void MapFileCommands::savePicture(const QImage& image)
{
    // A new dialog each time: no file name carried over.
    const Prompts::FileRequest request{QString(), PictureFilter, QStringLiteral("DIB"), QString()};
    const std::optional<QString> path = m_prompts.saveFile(request);
    if (!path)
        return;
    QString error;
    if (!writeBmp24(*path, image, &error))
        m_prompts.error(error);
}

void MapFileCommands::SaveMapPicture1Click(const QImage& mapSurface)
{
    savePicture(mapSurface);
}

void MapFileCommands::SaveTilesetPicture1Click(const QImage& paletteImage)
{
    savePicture(paletteImage);
}
