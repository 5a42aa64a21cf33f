#pragma once

#include "session/last_session.h"

class TMainForm;
class UserSettings;

// The last session: what the window shows when it closes is kept in the
// user's settings, and a start brings it back.
LastSession currentSession(const TMainForm& form);

// Brings back what `start` says of `last`: the window's geometry, page and
// zoom always; then the ROM file of `start`, and with `start.restoreMap` the
// category and map (when the catalogue still lists them), as the user would
// pick them.
void restoreLastSession(TMainForm& form, const LastSession& last, const SessionStart& start);
