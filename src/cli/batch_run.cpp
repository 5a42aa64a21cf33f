#include "cli/batch_run.h"

#include "cli/batch_prompts.h"
#include "cli/catalogue_batch.h"
#include "cli/picture_batch.h"
#include "cli/standard_streams.h"
#include "session/catalogue_check.h"
#include "session/catalogue_maps.h"
#include "session/editor_session.h"
#include "session/image_patches.h"
#include "session/map_file.h"
#include "session/patch_apply_job.h"
#include "session/tiled_export.h"
#include "session/tiled_import.h"
#include "base/safe_write.h"
#include "model/map/map_picture.h"
#include "model/map/palette_picture.h"
#include "model/map/picture_file.h"
#include "script/script_job.h"

#include <QDir>
#include <QTemporaryFile>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>

namespace {

class BatchRun {
public:
    BatchRun(const CommandLine& line, const QString& programDir, QTextStream& out, QTextStream& err)
        : m_line(line), m_out(out), m_err(err),
          m_state(line.catalogueDir.isEmpty() ? programDir : line.catalogueDir),
          m_prompts(err, line.force), m_session(m_state, m_prompts)
    {
    }

    int run();

private:
    bool pick(const QString& name);
    int fail(const QString& text);
    // The picture of the map picked, with the grid of the command line.
    bool writeMapPicture(const QString& path, QString* error) const;
    int listMaps();
    int check();
    int exportMapPicture();
    int exportTilesetPicture();
    int exportMap();
    int importMap();
    int exportPictures();
    int makePatch();
    int applyPatch();
    int runScript();
    int exportTiled();
    int importTiled();

    const CommandLine& m_line;
    QTextStream& m_out;
    QTextStream& m_err;
    EditorState m_state;
    BatchPrompts m_prompts;
    EditorSession m_session;
};

int BatchRun::fail(const QString& text)
{
    m_err << text << '\n';
    return ExitProblems;
}

// The map pick of the map chooser. A refusal is written here; what the
// events or the wild table of a picked map say, the session has already
// shown through the prompts (on stderr), and it does not stop the work.
bool BatchRun::pick(const QString& name)
{
    const EditorSession::PickResult result = m_session.pickMap(name, true);
    if (result.outcome.isDone())
        return true;
    const QString& refusal = result.outcome.refusal;
    m_err << (refusal.isEmpty() ? QStringLiteral("Map \"%1\" has no section in Maps.Ini.").arg(name) : refusal)
          << '\n';
    return false;
}

bool BatchRun::writeMapPicture(const QString& path, QString* error) const
{
    return ::writeMapPicture(m_state.core.map, m_state.map, m_state.pictures, m_line.grid, path, error,
                             QThread::idealThreadCount());
}

int BatchRun::run()
{
    if (!m_line.catalogueDir.isEmpty() && !QFileInfo(m_line.catalogueDir).isDir())
        return fail(QStringLiteral("Cannot open folder %1").arg(m_line.catalogueDir));
    const SessionOutcome loaded = m_session.loadRom(m_line.rom);
    if (!loaded.isDone())
        return fail(loaded.refusal);
    switch (m_line.action) {
    case CommandLine::Action::ListMaps: return listMaps();
    case CommandLine::Action::Check: return check();
    case CommandLine::Action::ExportMapPicture: return exportMapPicture();
    case CommandLine::Action::ExportTilesetPicture: return exportTilesetPicture();
    case CommandLine::Action::ExportMap: return exportMap();
    case CommandLine::Action::ImportMap: return importMap();
    case CommandLine::Action::ExportPictures: return exportPictures();
    case CommandLine::Action::MakePatch: return makePatch();
    case CommandLine::Action::ApplyPatch: return applyPatch();
    case CommandLine::Action::RunScript: return runScript();
    case CommandLine::Action::NewMap: return newMapBatch(m_line, m_state.core.catalogue, m_state.core.rom, m_out, m_err);
    case CommandLine::Action::TilesFromRom:
        return tilesFromRomBatch(m_line, m_state.core.catalogue, m_state.core.rom, m_out, m_err);
    case CommandLine::Action::ExportTiled: return exportTiled();
    case CommandLine::Action::ImportTiled: return importTiled();
    default: return ExitUsage;
    }
}

int BatchRun::listMaps()
{
    for (const CatalogueMap& map : catalogueMaps(m_state.core.catalogue.MainIni)) {
        m_out << map.category << '\t' << map.name << '\n';
        // What cannot be written is not made: the caller says why.
        if (streamFailed(m_out))
            return ExitProblems;
    }
    return ExitSuccess;
}

int BatchRun::check()
{
    const CatalogueReport report = CatalogueCheck(m_state.core.catalogue, m_state.core.rom, batchThreads(m_line)).run();
    m_out << report.text();
    return report.sound() ? ExitSuccess : ExitProblems;
}

int BatchRun::exportMapPicture()
{
    if (!pick(m_line.map))
        return ExitProblems;
    QString error;
    if (!writeMapPicture(m_line.file, &error))
        return fail(error);
    return ExitSuccess;
}

int BatchRun::exportTilesetPicture()
{
    if (!pick(m_line.map))
        return ExitProblems;
    const QImage palette = composePalette(m_state.pictures, m_state.core.map.TilesetNumber, m_line.grid);
    QString error;
    if (!writePictureFile(m_line.file, palette, &error))
        return fail(error);
    return ExitSuccess;
}

int BatchRun::exportMap()
{
    if (!pick(m_line.map))
        return ExitProblems;
    const QByteArray content = buildMapFile(m_state.core.map, m_state.map, m_state.events, m_state.encounters);
    if (!writeFileAtomically(m_line.file, content))
        return fail(QStringLiteral("Cannot create file %1").arg(m_line.file));
    return ExitSuccess;
}

int BatchRun::importMap()
{
    if (!pick(m_line.map))
        return ExitProblems;
    const SessionOutcome loaded = m_session.loadMapFile(m_line.file);
    if (loaded.isRefused())
        return fail(loaded.refusal);
    // A file of another length is applied only with --force; the session
    // asked, and the batch prompts said No.
    if (loaded.isDeclined())
        return fail(QStringLiteral("The map file was not applied; --force applies it all the same."));
    const SessionOutcome saved = m_session.saveRomAs(m_line.output);
    if (saved.isRefused())
        return fail(saved.refusal);
    return ExitSuccess;
}

int BatchRun::makePatch()
{
    const SessionOutcome made = ImagePatches(m_session).make(m_line.original, m_line.file);
    return made.isDone() ? ExitSuccess : fail(made.refusal);
}

// Apply Patch as the window applies it; the patched image goes to OUT only,
// ROM stays as it is.
int BatchRun::applyPatch()
{
    PatchApplyJob job(m_session);
    SessionOutcome applied = job.start(m_line.file);
    QObject::connect(&job, &PatchApplyJob::finished, [&applied](const SessionOutcome& outcome) { applied = outcome; });
    job.finish();
    if (!applied.isDone())
        return fail(applied.refusal);
    if (!writeFileAtomically(m_line.output, m_state.core.rom.bytes()))
        return fail(QStringLiteral("Cannot create file %1").arg(m_line.output));
    return ExitSuccess;
}

// The script runs on the image as loaded, no map picked, on a worker thread
// while this one prints its lines as they come and keeps its time limit.
// Only a finished script's changed image is written, and only to OUT.
int BatchRun::runScript()
{
    QFile file(m_line.file);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read file %1: %2").arg(m_line.file, file.errorString()));
    const QByteArray source = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("Cannot read file %1: %2").arg(m_line.file, file.errorString()));

    const ScriptRequest request{m_line.file, QString::fromUtf8(source), m_line.scriptArgs, m_state.core.rom.bytes(),
                                m_state.core.catalogue.programDir};
    ScriptJob job;
    job.setMemoryMiB(m_line.scriptMemoryMiB);
    QEventLoop loop;
    ScriptResult result;
    // A log that cannot be written stops the script, and nothing is written
    // to OUT: the caller says why.
    bool logFailed = false;
    QObject::connect(&job, &ScriptJob::logLines, &loop, [&](const QStringList& lines) {
        if (logFailed)
            return;
        for (const QString& line : lines)
            m_out << line << '\n';
        m_out.flush();
        if (streamFailed(m_out)) {
            logFailed = true;
            job.stop();
        }
    });
    QObject::connect(&job, &ScriptJob::finished, &loop, [&](const ScriptResult& end) {
        result = end;
        loop.quit();
    });
    job.start(request, m_line.scriptTimeoutSeconds * 1000);
    loop.exec();

    if (logFailed)
        return ExitProblems;
    if (result.end != ScriptResult::End::Finished)
        return fail(result.error);
    if (!result.changed)
        return ExitSuccess;
    if (m_line.output.isEmpty())
        return fail(QStringLiteral("%1 changed the image; give --output OUT to write it.").arg(m_line.file));
    QString reason;
    if (!writeFileAtomically(m_line.output, result.image, &reason))
        return fail(QStringLiteral("Cannot create file %1: %2").arg(m_line.output, reason));
    return ExitSuccess;
}

int BatchRun::exportPictures()
{
    if (!QDir().mkpath(m_line.file))
        return fail(QStringLiteral("Cannot create folder %1").arg(m_line.file));
    // A folder that takes no file is said once, before any map is drawn.
    QTemporaryFile probe(QDir(m_line.file).filePath(QStringLiteral("kartola-XXXXXX.png")));
    if (!probe.open())
        return fail(QStringLiteral("Cannot write to folder %1").arg(m_line.file));
    probe.remove();
    const PictureBatch batch{m_state.core.catalogue, m_state.core.rom, m_line.file, m_line.grid,
                             batchThreads(m_line)};
    return batch.run(m_err) ? ExitSuccess : ExitProblems;
}

int BatchRun::exportTiled()
{
    if (!QDir().mkpath(m_line.file))
        return fail(QStringLiteral("Cannot create folder %1").arg(m_line.file));
    TiledExport tiled(m_state.core.catalogue, m_state.core.rom, m_line.file);
    const bool sound = tiled.exportMaps(m_line.maps, [this](const QString& line) {
        m_err << line << '\n';
        m_err.flush();
    });
    return sound ? ExitSuccess : ExitProblems;
}

// Every map the files name is applied, or none; the image goes to OUT only.
int BatchRun::importTiled()
{
    QString error;
    const QStringList files = tiledImportFiles(m_line.file, &error);
    if (files.isEmpty())
        return fail(error);
    const TiledImport imported =
        ::importTiled(m_state.core.catalogue, m_state.core.rom.bytes(), files, m_line.maps.value(0));
    if (!imported.refusal.isEmpty())
        return fail(imported.refusal);
    QString reason;
    if (!writeFileAtomically(m_line.output, imported.image, &reason))
        return fail(QStringLiteral("Cannot create file %1: %2").arg(m_line.output, reason));
    return ExitSuccess;
}

} // namespace

int runBatch(const CommandLine& line, const QString& programDir, QTextStream& out, QTextStream& err)
{
    if (!line.isBatch())
        return ExitUsage;
    BatchRun batch(line, programDir, out, err);
    const int status = batch.run();
    out.flush();
    err.flush();
    return status;
}
