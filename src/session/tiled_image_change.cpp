#include "session/tiled_image_change.h"

#include "model/rom/rom_image.h"
#include "session/catalogue_maps.h"
#include "session/editor_session.h"
#include "session/tiled_export.h"
#include "session/tiled_import.h"
#include "session/whole_image_change.h"

#include <QDir>
#include <QFileInfo>

SessionOutcome exportEveryMap(const Catalogue& catalogue, const QByteArray& image, const QString& folder,
                              QStringList* lines)
{
    if (!QDir().mkpath(folder))
        return SessionOutcome::refused(QStringLiteral("Cannot create folder %1").arg(folder));
    RomImage rom;
    rom.setBytes(image);
    QStringList problems;
    TiledExport out(catalogue, rom, folder);
    const bool sound = out.exportMaps({}, [&](const QString& line) {
        lines->append(line);
        if (!line.startsWith(QLatin1Char('[')))
            problems << line;
    });
    if (!sound)
        return SessionOutcome::refused(problems.join(QLatin1Char('\n')));
    return SessionOutcome::done(
        QStringLiteral("Maps written for Tiled into %1.").arg(QDir::toNativeSeparators(folder)));
}

SessionOutcome TiledImageChange::exportAll(const QString& folder, QStringList* lines)
{
    if (!m_session.state().core.romLoaded())
        return SessionOutcome::refused(QStringLiteral("Load a ROM image first."));
    return exportEveryMap(m_session.state().core.catalogue, m_session.imageAsSaved(), folder, lines);
}

SessionOutcome TiledImageChange::exportShown(const QString& folder, QString* path)
{
    const EditorState& state = m_session.state();
    if (!state.core.map.isMap())
        return SessionOutcome::refused(QStringLiteral("Pick a map first."));
    if (!QDir().mkpath(folder))
        return SessionOutcome::refused(QStringLiteral("Cannot create folder %1").arg(folder));
    QString category;
    for (const CatalogueMap& map : catalogueMaps(state.core.catalogue.MainIni))
        if (map.name == state.core.map.name) {
            category = map.category;
            break;
        }
    QString error;
    *path = TiledExport(state.core.catalogue, state.core.rom, folder)
                .exportMap(state.core.map, state.map, state.events, category, state.pictures, &error);
    if (path->isEmpty())
        return SessionOutcome::refused(error);
    return SessionOutcome::done();
}

SessionOutcome TiledImageChange::import(const QString& fileOrFolder)
{
    QString error;
    const QStringList files = tiledImportFiles(fileOrFolder, &error);
    if (files.isEmpty())
        return SessionOutcome::refused(error);
    WholeImageChange& change = m_session.wholeImage();
    const WholeImageChange::Start start = change.begin();
    if (!start.outcome.isDone())
        return start.outcome;
    const TiledImport imported = importTiled(m_session.state().core.catalogue, start.image, files);
    if (!imported.refusal.isEmpty())
        return SessionOutcome::refused(imported.refusal);
    const QString name = QFileInfo(fileOrFolder).isDir() ? QDir(fileOrFolder).dirName() : imported.maps.value(0);
    return change.finish(start, QStringLiteral("Import from Tiled %1").arg(name), imported.image);
}
