#pragma once

#include <QString>

#include <cstdio>

class QTextStream;

// Standard output and error checked to the end: a report written to a full
// disk or a closed pipe is a failure, not a success with nothing in it.

// Whether something written to `stream` so far failed to reach its device.
bool streamFailed(const QTextStream& stream);

// Flushes `stream` and the C stream `file` beneath it; false, with the
// system's reason, when any of it was not written.
bool flushStream(QTextStream& stream, std::FILE* file, QString* reason = nullptr);

// The exit status once the work is done: `status`, unless standard output or
// error failed. A failed standard output is said in one line on standard
// error (when that can still be written), and a success becomes 1.
int finishStandardStreams(int status, QTextStream& out, std::FILE* outFile, QTextStream& err, std::FILE* errFile);
