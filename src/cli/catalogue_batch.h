#pragma once

#include "cli/command_line.h"

struct Catalogue;
class QTextStream;
class RomImage;

// Cataloguing from the command line: --new-map and --tiles-from-rom write the
// catalogue as the Catalogue menu's commands do, with the same checks; a
// refusal writes nothing. Returns the exit status.
int newMapBatch(const CommandLine& line, const Catalogue& catalogue, const RomImage& rom, QTextStream& out,
                QTextStream& err);
int tilesFromRomBatch(const CommandLine& line, const Catalogue& catalogue, const RomImage& rom, QTextStream& out,
                      QTextStream& err);
