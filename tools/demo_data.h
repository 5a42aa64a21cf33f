#pragma once

#include <QString>

// Writes the demo cartridge image "demo.gbc" (1 MiB, made up by us), its
// complete catalogue (Main.Ini, Maps.Ini, Tilesets.ini, Critters.ini,
// Events.ini, Options.ini) and its tile pictures (tiles/) into `directory`,
// which is created when missing. Every file is written atomically. On failure
// returns false and `error` (when given) says which file could not be written.
bool writeDemoData(const QString& directory, QString* error);
