#pragma once

#include "ui/main/main_form.h"
#include "widgets/qt_prompts.h"

#include <QString>
#include <memory>

class Prompts;
class UserSettings;

// Where a start of the window takes its files from.
struct StartPlaces {
    QString rom;              // the ROM file named on the command line; empty: none
    QString catalogue;        // the catalogue folder named on the command line; empty: none
    QString programDir;       // the catalogue folder of a plain start
    QString recoveryFolder;   // where the window keeps its recovery files; empty: none kept
};

// The editor a start made. The window is destroyed before the state it shows
// and the dialogs it asks through.
struct StartedEditor {
    std::unique_ptr<QtPrompts> dialogs;   // the real dialogs, when the caller gave no prompts
    std::unique_ptr<EditorState> state;
    std::unique_ptr<TMainForm> form;
};

// Starts the window as the program does: the last session in `settings`
// decides the catalogue folder, the window is shown, and then the ROM file
// named comes up, else the last session's, else the one whose changes were
// left unsaved last (its question comes with the load). `prompts` null: the
// real dialogs, owned by the window.
StartedEditor startEditor(const StartPlaces& places, UserSettings& settings, Prompts* prompts = nullptr);
