#pragma once

#include <QString>

class TMainForm;

// At start: the window keeps recovery files in the user's data folder, and
// the ROM file to open is the one given, else the one whose changes were
// left unsaved most recently (its question comes with the load). Returns
// false when a given ROM file could not be opened.
bool startWithRecovery(TMainForm& window, const QString& rom);
