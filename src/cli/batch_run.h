#pragma once

#include "cli/command_line.h"

class QTextStream;

// Batch work of the command line: loads the ROM image through the editing
// session, as Load Rom does, and runs one action on it with the same model
// code the windows use. Results go to `out`, problems to `err`; no window
// and no message box is shown. Returns the exit status.
int runBatch(const CommandLine& line, const QString& programDir, QTextStream& out, QTextStream& err);

