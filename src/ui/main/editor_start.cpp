#include "ui/main/editor_start.h"

#include "session/editor_session.h"
#include "session/recovery_file.h"
#include "session/recovery_keeper.h"
#include "session/user_settings.h"
#include "ui/main/catalogue_menu.h"
#include "ui/main/session_restore.h"

StartedEditor startEditor(const StartPlaces& places, UserSettings& settings, Prompts* prompts)
{
    StartedEditor editor;
    // The last session decides the catalogue folder before the window reads it.
    const LastSession last = settings.lastSession();
    const SessionStart start = planStart(last, places.rom, places.catalogue, places.programDir);
    editor.state = std::make_unique<EditorState>(start.catalogue);
    if (!prompts) {
        editor.dialogs = std::make_unique<QtPrompts>();
        prompts = editor.dialogs.get();
    }
    editor.form = std::make_unique<TMainForm>(*editor.state, *prompts, &settings);
    TMainForm& form = *editor.form;
    form.catalogueMenu->folderFromCommandLine = !places.catalogue.isEmpty();
    if (editor.dialogs)
        editor.dialogs->setOwner(&form);
    form.show();

    // Recovery files are known before the first Load Rom, which offers them.
    // A ROM argument opens that image as Load Rom would; the last session comes
    // back; with neither, the ROM file whose changes were left unsaved last.
    RecoveryKeeper& recovery = form.session->recovery();
    recovery.setFolder(places.recoveryFolder);
    restoreLastSession(form, last, start);
    if (!editor.state->core.romLoaded() && places.rom.isEmpty() && !recovery.folder().isEmpty()) {
        const QString unsaved = RecoveryFile::latestRom(recovery.folder());
        if (!unsaved.isEmpty())
            form.loadRom(unsaved);
    }
    return editor;
}
