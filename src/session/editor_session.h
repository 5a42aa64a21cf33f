#pragma once

#include "session/block_stamp.h"
#include "session/editor_state.h"
#include "session/encounter_edits.h"
#include "session/event_edits.h"
#include "session/grid_setting.h"
#include "session/region_edits.h"
#include "session/session_outcome.h"
#include "session/whole_image_change.h"
#include "session/working_copies.h"
#include "model/rom/rom_edit_command.h"

#include <QObject>
#include <QUndoStack>

#include <memory>
#include <optional>

class Prompts;
class RecoveryKeeper;
class RecoveryOffer;
class RomFileWatch;

// The editor's order of work, and the only place where it lives: Load Rom,
// the map pick, Save Rom, the questions about unsaved changes, and every
// edit as an undoable command on one stack. Windows call it and follow its
// signals; it shows no window itself and asks its questions through Prompts.
// Every call a window answers returns a SessionOutcome. The edits of one
// kind are jobs of their own, reached through it: stamp(), regions(),
// events(), encounters(), wholeImage().
class EditorSession : public QObject {
    Q_OBJECT
public:
    EditorSession(EditorState& state, Prompts& prompts, QObject* parent = nullptr);
    ~EditorSession() override;

    EditorState& state() { return m_state; }
    const EditorState& state() const { return m_state; }
    QUndoStack& undoStack() { return m_undo; }
    Prompts& prompts() { return m_prompts; }
    // The recovery file of the ROM file being edited (none until given a folder).
    RecoveryKeeper& recovery() { return *m_recovery; }
    // The block or region that painting and the fills put down.
    BlockStamp& stamp() { return m_stamp; }
    // Stamps, fills, cuts and pastes on the current map.
    RegionEdits& regions() { return m_regions; }
    // Event drags and fields, wild slots and the randomizer's fill.
    EventEdits& events() { return m_events; }
    EncounterEdits& encounters() { return m_encounters; }
    // Patches, scripts and restored changes that replace the whole image.
    WholeImageChange& wholeImage() { return m_wholeImage; }
    GridSetting& grid() { return m_grid; }

    // --- The ROM image ---------------------------------------------------
    // Replaces the image with the file's bytes and drops the map, its working
    // copies and the block pictures; then offers the file's recovery copy.
    // Declined: unsaved work was kept (Cancel, or a save that failed).
    SessionOutcome loadRom(const QString& path);
    // Map bytes, event tables and wild tables into the image, then the image
    // into RomFileName (Save Rom) or `path` (Save Rom As; RomFileName stays).
    // Save Rom into a file another program changed since it was loaded or
    // saved asks first: Overwrite, Save As... (a file the user names), Cancel.
    SessionOutcome saveRom();
    SessionOutcome saveRomAs(const QString& path);
    // The window became active again: when the ROM file changed on disk
    // since it was loaded or saved, the status line says so once for each
    // change, and with nothing unsaved the editor offers to load it again.
    void checkRomOnDisk();
    // The tag of this editor's own recovery copy: empty while it holds its
    // ROM file, else one of its own (another editor holds the file).
    QString recoveryOwner() const;
    // The image as it is into `path`, nothing else (the block editor and the
    // ROM options save so). The file it replaces is kept as NAME.bak at its
    // first save in this run, which the status line says. Refused: the file
    // on disk is as it was.
    SessionOutcome saveImageTo(const QString& path);
    // The first steps of a save: the working copies into the image, no file.
    void writeWorkingCopies();
    // The image as Save Rom would write it, working copies (and checksums,
    // when they are set on save) written in; the image itself and the
    // modified mark stay as they are.
    QByteArray imageAsSaved() const;
    // What imageAsSaved() writes into the image, copied: small, so that it
    // can be taken at every change and written in on another thread.
    WorkingCopies workingCopies() const;
    // Every save of the image sets both cartridge checksums when this is on
    // (off at start). The image takes the new checksum bytes once the file
    // holds them; a failed save leaves them as they were.
    void setFixChecksumsOnSave(bool on) { m_fixChecksums = on; }
    bool fixChecksumsOnSave() const { return m_fixChecksums; }

    // --- The map pick ----------------------------------------------------
    // Done: picked. Declined: the user kept the current map. Refused: the map
    // was refused, with the message; an empty message when the name is no map
    // (nothing picked, nothing to say: no image, no name, a name typed in part).
    struct PickResult {
        SessionOutcome outcome = SessionOutcome::refused({});
        QString eventsProblem; // picked, but its events were refused
        QString wildProblem;   // picked, but its wild table lies outside the image
    };
    // `listed`: the name is an entry of the chooser. A pick while the current
    // map has unsaved working copies asks first; Cancel keeps the map. A
    // refusal is returned for the window to show; what a picked map's events
    // or wild table say is shown here, once.
    PickResult pickMap(const QString& name, bool listed = true);

    // --- Unsaved changes -------------------------------------------------
    // The working copies differ from what the image holds.
    bool workingCopiesDiffer() const;
    // Anything differs from the file: working copies or image bytes.
    bool isModified() const;
    // Exit, Load Rom and a dropped file ask this first: Save / Discard /
    // Cancel when anything is unsaved. True: go on.
    bool maySetAside();

    // --- Edits (each one an undo command) ----------------------------------
    // A paint stroke, press to release: the cells painted with the selected
    // block, and the stamps placed, are one entry.
    void beginStroke();
    void paintCell(int cell);
    void endStroke();

    // A change of the image's bytes, computed by `patch` on a copy. Declined
    // when it changes nothing; refused, with the text, when the patch refused
    // (the bytes it writes lie outside the image).
    SessionOutcome editRom(const QString& text, const RomEditCommand::Patch& patch);
    // Reads a map file into the working copies (one entry). A file whose
    // length is not the map's asks first; No declines it.
    SessionOutcome loadMapFile(const QString& path);
    // The event builder rewrote the tables: its edits cannot be undone, so
    // the history is cleared and the events read again.
    void eventsRebuilt();

signals:
    void romLoaded();
    void mapDropped();
    void mapPicked();
    void tilesetProgress(int value, int maximum);
    void cellChanged(int cell);
    void mapPictureChanged();   // more than single cells: redraw the whole map
    void eventsChanged();
    void eventMoved(TEventData event, int fromX, int fromY, int toX, int toY);
    void encounterChanged(int time, int slot);
    void encountersChanged();
    void romBytesChanged();
    void modifiedChanged(bool modified);
    void statusText(const QString& text);
    // Work running on a timer or a thread (the randomizer's fill) ends now:
    // the image or the map is about to be saved, replaced or left.
    void workEnding();

private:
    bool writeImage(const QString& path, QString* error, bool* backupKept);
    // The one place where map bytes, event tables and wild tables go into an image.
    void writeWorkingCopiesInto(RomImage& rom) const;
    // A copy of the image with them written in.
    QByteArray imageWithWorkingCopies() const;
    void dropMap();
    // The pick's question about unsaved working copies: true to keep them in
    // the image, false to drop them, nothing for Cancel. Work under way ends
    // first. A whole-image change asks it too.
    std::optional<bool> askKeepWorkingCopies();
    // The image was replaced whole (by WholeImageChange's undo entry, either
    // way): the current map is picked again from it, with every check of a
    // pick; a map the new image refuses is dropped and its refusal said.
    void imageReplaced();
    // The image differs from the file, outside the history.
    void imageWrittenOutsideHistory();
    void commitPick(const struct PreparedPick& pick, PickResult* result, bool newHistory = true);
    // What a picked map's events and wild table say, said once.
    void sayPickProblems(const PickResult& result);
    // The current map's working copies, read from the image.
    void readWorkingCopies(QString* eventsProblem);
    void reloadEvents(QString* problem);
    void romChanged(const QList<RomChange>& changes);
    void updateModified();
    void push(QUndoCommand* command);
    // The one way map cells change: one undo entry, or a step of the stroke
    // begun. Declined when `cells` is empty.
    SessionOutcome pushCells(const QString& text, CellEdits cells, bool inStroke);
    void cellsWritten(const CellEdits& cells);

    EditorState& m_state;
    Prompts& m_prompts;
    QUndoStack m_undo;
    BlockStamp m_stamp;
    RegionEdits m_regions;
    EventEdits m_events;
    EncounterEdits m_encounters;
    WholeImageChange m_wholeImage;
    GridSetting m_grid;
    RecoveryKeeper* m_recovery = nullptr;
    std::unique_ptr<RecoveryOffer> m_offer;
    std::unique_ptr<RomFileWatch> m_romFile;
    bool m_askingAboutDisk = false;
    bool m_fixChecksums = false;
    bool m_romUnsaved = false;   // image bytes changed since the file was read or written
    bool m_modified = false;
    int m_stroke = 0;
    // Edits, undos, loads and picks so far: a whole-image change computed
    // elsewhere is refused when this moved on meanwhile.
    quint64 m_changes = 0;
};
