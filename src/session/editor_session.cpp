#include "session/editor_session.h"

#include "session/load_map_command.h"
#include "session/map_file.h"
#include "session/map_pick.h"
#include "session/recovery_keeper.h"
#include "session/recovery_offer.h"
#include "session/rom_file_watch.h"
#include "model/encounters/encounter_io.h"
#include "model/events/event_tables.h"
#include "model/map/map_cells_command.h"
#include "model/map/tileset_build.h"
#include "model/rom/cartridge_header.h"
#include "base/prompts.h"

#include <QFile>
#include <QFileInfo>

EditorSession::EditorSession(EditorState& state, Prompts& prompts, QObject* parent)
    : QObject(parent), m_state(state), m_prompts(prompts),
      m_regions(state, m_stamp, [this](const QString& text, CellEdits cells, bool inStroke) {
          return pushCells(text, std::move(cells), inStroke);
      }),
      m_events(*this, [this](QUndoCommand* command) { push(command); }),
      m_encounters(*this, [this](QUndoCommand* command) { push(command); }),
      m_wholeImage(*this, {[this] { return askKeepWorkingCopies(); }, [this] { return m_changes; },
                           [this] { imageWrittenOutsideHistory(); }, [this] { imageReplaced(); }}),
      m_grid(state.core.catalogue)
{
    connect(&m_undo, &QUndoStack::cleanChanged, this, &EditorSession::updateModified);
    connect(&m_undo, &QUndoStack::indexChanged, this, &EditorSession::updateModified);
    m_recovery = new RecoveryKeeper(*this);
    m_offer = std::make_unique<RecoveryOffer>(*this);
    m_romFile = std::make_unique<RomFileWatch>(prompts);
    connect(&m_undo, &QUndoStack::indexChanged, m_recovery, &RecoveryKeeper::changed);
    connect(&m_undo, &QUndoStack::indexChanged, this, [this] { ++m_changes; });
    for (auto signal : {&EditorSession::romLoaded, &EditorSession::mapPicked, &EditorSession::mapDropped})
        connect(this, signal, this, [this] { ++m_changes; });
    connect(&m_grid, &GridSetting::changed, this, &EditorSession::mapPictureChanged);
    connect(&m_stamp, &BlockStamp::statusText, this, &EditorSession::statusText);
}

EditorSession::~EditorSession() = default;

// --- The ROM image ----------------------------------------------------------

SessionOutcome EditorSession::loadRom(const QString& path)
{
    emit workEnding();
    m_recovery->writeNow();
    if (!maySetAside())
        return SessionOutcome::declined();
    RomImage image;
    QString error;
    if (!image.loadFromFile(path, &error)) {
        // Edits that are still here keep their recovery file.
        m_recovery->changed();
        return SessionOutcome::refused(error);
    }
    m_state.core.rom = std::move(image);
    m_state.core.RomFileName = path;
    m_romFile->hold(m_recovery->folder(), path);
    m_recovery->setOnDisk(m_state.core.rom.bytes());
    m_romFile->fileIs(path, m_state.core.rom.bytes());
    m_romUnsaved = false;
    // Nothing of the previous image may reach the new one.
    dropMap();
    m_undo.clear();
    emit romLoaded();
    emit romBytesChanged();
    updateModified();
    m_offer->offer();
    return SessionOutcome::done();
}

QString EditorSession::recoveryOwner() const
{
    return m_romFile->owner();
}

void EditorSession::checkRomOnDisk()
{
    const QString path = m_state.core.RomFileName;
    if (!m_state.core.romLoaded() || m_askingAboutDisk || !m_romFile->changeNoticed(path))
        return;
    const QString name = QFileInfo(path).fileName();
    emit statusText(QStringLiteral("%1 has been changed on disk by another program.").arg(name));
    if (isModified() || workingCopiesDiffer())
        return;
    m_askingAboutDisk = true;
    const bool again = m_prompts.ask(
        Prompts::Kind::Confirmation,
        QStringLiteral("%1 has been changed on disk by another program. Load it again?").arg(name));
    m_askingAboutDisk = false;
    if (!again)
        return;
    const SessionOutcome loaded = loadRom(path);
    if (loaded.isRefused())
        m_prompts.error(loaded.refusal);
}

void EditorSession::dropMap()
{
    m_state.core.map = MapRecord{};
    m_state.map.clearMap();
    m_state.pictures.clear();
    m_state.Pics = TilePicture{};
    m_state.events = EventState{};
    m_state.encounters = EncounterTables{};
    emit mapDropped();
}

void EditorSession::writeWorkingCopies()
{
    emit workEnding();
    if (!m_state.core.map.isMap())
        return;
    if (workingCopiesDiffer())
        m_romUnsaved = true;
    writeWorkingCopiesInto(m_state.core.rom);
}

void EditorSession::writeWorkingCopiesInto(RomImage& rom) const
{
    WorkingCopies::writeWorkingCopies(m_state.core.map, m_state.map, m_state.events, m_state.encounters, rom);
}

WorkingCopies EditorSession::workingCopies() const
{
    return {m_state.core.map, m_state.map, m_state.events, m_state.encounters};
}

QByteArray EditorSession::imageWithWorkingCopies() const
{
    RomImage copy = m_state.core.rom;
    writeWorkingCopiesInto(copy);
    return copy.bytes();
}

QByteArray EditorSession::imageAsSaved() const
{
    QByteArray bytes = imageWithWorkingCopies();
    if (m_fixChecksums)
        CartridgeHeader::setChecksums(bytes);
    return bytes;
}

namespace {
const QString NoRom = QStringLiteral("You haven't loaded rom! Please load rom before saving.");
}

SessionOutcome EditorSession::saveRom()
{
    if (!m_state.core.romLoaded())
        return SessionOutcome::refused(NoRom);
    const std::optional<QString> path = m_romFile->saveTarget(m_state.core.RomFileName);
    return path ? saveRomAs(*path) : SessionOutcome::declined();
}

SessionOutcome EditorSession::saveRomAs(const QString& path)
{
    if (!m_state.core.romLoaded())
        return SessionOutcome::refused(NoRom);
    writeWorkingCopies();
    QString error;
    bool backupKept = false;
    if (!writeImage(path, &error, &backupKept)) {
        updateModified();
        return SessionOutcome::refused(error);
    }
    m_romUnsaved = false;
    m_undo.setClean();
    m_recovery->remove();
    // The tables are read back as the image now holds them; what they said
    // at the pick is not said again.
    QString ignored;
    reloadEvents(&ignored);
    updateModified();
    QString status = QStringLiteral("Saved %1.").arg(QFileInfo(path).fileName());
    if (backupKept)
        status += QLatin1Char(' ') + RomBackups::keptMessage(path) + QLatin1Char('.');
    emit statusText(status);
    return SessionOutcome::done();
}

bool EditorSession::writeImage(const QString& path, QString* error, bool* backupKept)
{
    EditorCore& core = m_state.core;
    QByteArray bytes = core.rom.bytes();
    if (!m_fixChecksums || !CartridgeHeader::setChecksums(bytes) || bytes == core.rom.bytes()) {
        if (!core.saveRom(path, error, backupKept))
            return false;
    } else {
        RomImage fixed;
        fixed.setBytes(bytes);
        if (!fixed.saveToFile(path, error, &core.romBackups, backupKept))
            return false;
        core.rom.setBytes(bytes);
        emit romBytesChanged();
    }
    if (QFileInfo(path) == QFileInfo(core.RomFileName)) {
        m_recovery->setOnDisk(core.rom.bytes());
        m_romFile->fileIs(core.RomFileName, core.rom.bytes());
    }
    return true;
}

SessionOutcome EditorSession::saveImageTo(const QString& path)
{
    QString error;
    bool backupKept = false;
    if (!writeImage(path, &error, &backupKept))
        return SessionOutcome::refused(error);
    if (backupKept)
        emit statusText(RomBackups::keptMessage(path) + QLatin1Char('.'));
    return SessionOutcome::done();
}

// --- The map pick -------------------------------------------------------------

EditorSession::PickResult EditorSession::pickMap(const QString& name, bool listed)
{
    PickResult result;
    if (name.isEmpty() || !m_state.core.romLoaded())
        return result;
    const std::optional<PreparedPick> pick =
        prepareMapPick(m_state.core.catalogue, m_state.core.rom, name, listed, &result.outcome.refusal);
    if (!pick)
        return result;
    const std::optional<bool> keep = askKeepWorkingCopies();
    if (!keep) {
        result.outcome = SessionOutcome::declined();
        return result;
    }
    if (*keep) {
        writeWorkingCopies();
        m_recovery->writeNow();
    }
    commitPick(*pick, &result);
    result.outcome = SessionOutcome::done();
    sayPickProblems(result);
    return result;
}

void EditorSession::sayPickProblems(const PickResult& result)
{
    // The map is shown; what its events and wild table say is said once, now.
    if (!result.eventsProblem.isEmpty())
        m_prompts.error(result.eventsProblem);
    if (!result.wildProblem.isEmpty())
        m_prompts.message(Prompts::Kind::Warning, result.wildProblem);
}

std::optional<bool> EditorSession::askKeepWorkingCopies()
{
    emit workEnding();
    if (!m_state.core.map.isMap() || !workingCopiesDiffer())
        return false;
    const Prompts::Answer answer = m_prompts.message(
        Prompts::Kind::Confirmation,
        QStringLiteral("Map \"%1\" has changes that are not in the ROM image yet. Keep them?")
            .arg(m_state.core.map.name),
        Prompts::Buttons::YesNoCancel);
    if (answer == Prompts::Answer::Cancel)
        return std::nullopt;
    return answer == Prompts::Answer::Yes;
}

void EditorSession::imageReplaced()
{
    // Any block may have changed: the pictures are built again at the pick.
    m_state.pictures.clear();
    emit romBytesChanged();
    if (!m_state.core.map.isMap())
        return;
    QString refusal;
    const std::optional<PreparedPick> pick =
        prepareMapPick(m_state.core.catalogue, m_state.core.rom, m_state.core.map.name, true, &refusal);
    if (!pick) {
        dropMap();
        if (!refusal.isEmpty())
            m_prompts.error(refusal);
        return;
    }
    PickResult result;
    commitPick(*pick, &result, false);
    sayPickProblems(result);
}

void EditorSession::commitPick(const PreparedPick& pick, PickResult* result, bool newHistory)
{
    const MapRecord& record = pick.record;
    m_state.core.map = record;
    m_state.Pics = pick.picture;
    if (!m_state.pictures.built(record.TilesetNumber)) {
        buildTileset(m_state.core.rom, record, m_state.Pics, m_state.pictures,
                     [this](int value, int maximum) { emit tilesetProgress(value, maximum); });
    }
    readWorkingCopies(&result->eventsProblem);
    result->wildProblem = encounterTableProblem(record, m_state.core.rom);

    if (newHistory)
        m_undo.clear();
    emit mapPicked();
    updateModified();
}

void EditorSession::readWorkingCopies(QString* eventsProblem)
{
    const MapRecord& record = m_state.core.map;
    m_state.map.readMap(m_state.core.rom, record);
    reloadEvents(eventsProblem);

    const std::optional<EncounterTables> wild = readEncounterTables(m_state.core.rom, record.EncounterStart);
    if (wild)
        m_state.encounters = *wild;
    else
        m_state.encounters.clear();
}

void EditorSession::reloadEvents(QString* problem)
{
    const QString section = m_state.core.map.isMap() ? m_state.core.map.name : QString();
    *problem = loadEventTables(m_state.core.catalogue.EventsIni, section, m_state.core.rom, m_state.events);
    emit eventsChanged();
}

// --- Unsaved changes -------------------------------------------------------------

bool EditorSession::workingCopiesDiffer() const
{
    if (!m_state.core.map.isMap())
        return false;
    // What a save would write, written into a copy of the image.
    RomImage copy = m_state.core.rom;
    writeWorkingCopiesInto(copy);
    return copy.bytes() != m_state.core.rom.bytes();
}

bool EditorSession::isModified() const
{
    return m_romUnsaved || !m_undo.isClean();
}

bool EditorSession::maySetAside()
{
    emit workEnding();
    if (!isModified() && !workingCopiesDiffer()) {
        m_recovery->remove();
        return true;
    }
    const QString file = QFileInfo(m_state.core.RomFileName).fileName();
    const Prompts::Answer answer =
        m_prompts.message(Prompts::Kind::Confirmation,
                          QStringLiteral("Save the changes to %1?").arg(file), Prompts::Buttons::SaveDiscardCancel);
    if (answer == Prompts::Answer::Discard) {
        m_recovery->remove();
        return true;
    }
    if (answer != Prompts::Answer::Save)
        return false;
    const SessionOutcome saved = saveRom();
    if (saved.isRefused())
        m_prompts.error(saved.refusal);
    // Cancel at the question about a file changed on disk keeps the work too.
    return saved.isDone();
}

void EditorSession::imageWrittenOutsideHistory()
{
    m_romUnsaved = true;
    updateModified();
}

void EditorSession::updateModified()
{
    const bool modified = isModified();
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

// --- Edits ---------------------------------------------------------------------------

void EditorSession::push(QUndoCommand* command)
{
    m_undo.push(command);
    updateModified();
}

SessionOutcome EditorSession::pushCells(const QString& text, CellEdits cells, bool inStroke)
{
    if (cells.empty())
        return SessionOutcome::declined();
    push(new MapCellsCommand(m_state.map, text, std::move(cells), [this](const CellEdits& c) { cellsWritten(c); },
                             inStroke ? m_stroke : MapCellsCommand::NoStroke));
    return SessionOutcome::done();
}

void EditorSession::cellsWritten(const CellEdits& cells)
{
    // Past this many cells a change redraws the whole map rather than cell by cell.
    constexpr size_t CellByCellLimit = 256;
    if (cells.size() > CellByCellLimit) {
        emit mapPictureChanged();
        return;
    }
    for (const CellEdit& edit : cells)
        emit cellChanged(edit.cell);
}

void EditorSession::beginStroke()
{
    ++m_stroke;
}

void EditorSession::paintCell(int cell)
{
    const MapState& map = m_state.map;
    const quint8 block = quint8(m_stamp.selectedBlock() & 0xFF);
    if (!map.cellHasByte(cell) || map.MapBytes[size_t(cell)] == block)
        return;
    pushCells(QStringLiteral("Paint"), {CellEdit{cell, map.MapBytes[size_t(cell)], block}}, true);
}

void EditorSession::endStroke()
{
    ++m_stroke;
}

SessionOutcome EditorSession::editRom(const QString& text, const RomEditCommand::Patch& patch)
{
    bool refused = false;
    RomEditCommand* command = RomEditCommand::make(
        m_state.core.rom, text, patch, [this](const QList<RomChange>& changes) { romChanged(changes); }, &refused);
    if (refused)
        return SessionOutcome::refused(
            QStringLiteral("%1: the bytes it changes lie outside this ROM image.").arg(text));
    if (!command)
        return SessionOutcome::declined();
    push(command);
    return SessionOutcome::done();
}

void EditorSession::romChanged(const QList<RomChange>& changes)
{
    // Blocks of the current tileset whose bytes changed are composed again.
    const MapRecord& map = m_state.core.map;
    const bool pictures = map.isMap() && m_state.pictures.built(map.TilesetNumber)
        && rebuildChangedBlocks(m_state.core.rom, map, m_state.Pics, m_state.pictures, changes);
    emit romBytesChanged();
    if (pictures)
        emit mapPictureChanged();
}

SessionOutcome EditorSession::loadMapFile(const QString& path)
{
    const MapFileLayout layout = MapFileLayout::of(m_state.core.map, m_state.events);
    const qint64 wanted = layout.totalBytes();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SessionOutcome::refused(QStringLiteral("Cannot open file %1").arg(path));
    const qint64 length = file.size();
    // Only the bytes the current map's sections can take are read.
    const QByteArray content = file.read(wanted);
    if (file.error() != QFileDevice::NoError)
        return SessionOutcome::refused(QStringLiteral("Cannot open file %1").arg(path));
    if (length != wanted) {
        const QString question =
            QStringLiteral("The map file %1 holds %2 bytes, but map \"%3\" needs %4 bytes. Load it anyway?")
                .arg(QFileInfo(path).fileName())
                .arg(length)
                .arg(m_state.core.map.name)
                .arg(wanted);
        if (!m_prompts.ask(Prompts::Kind::Confirmation, question))
            return SessionOutcome::declined();
    }
    push(new LoadMapCommand(m_state, content, [this] {
        emit mapPictureChanged();
        emit eventsChanged();
        emit encountersChanged();
    }));
    return SessionOutcome::done();
}

void EditorSession::eventsRebuilt()
{
    m_undo.clear();
    m_romUnsaved = true;
    // The image's bytes changed outside the history: a whole-image change
    // begun before must not replace them.
    ++m_changes;
    m_recovery->changed();
    QString problem;
    reloadEvents(&problem);
    if (!problem.isEmpty())
        m_prompts.error(problem);
    updateModified();
}
