#pragma once

#include "script/script_run.h"

#include <QByteArray>

// A script run in a process of its own, the program started again with
// ScriptChildOption: the request goes to it on its standard input, its log
// lines and its result come back on its standard output as frames. The
// process bounds its own address space, so a script that takes too much
// memory ends there and nowhere else.
namespace ScriptChild {

// The first argument that makes the program a script's process; the second
// is the bound in MiB. Not an option of the command line's help.
inline constexpr char Option[] = "--script-child";
// The process's exit status when memory ran out.
inline constexpr int ExitOutOfMemory = 3;
inline constexpr qint64 DefaultMemoryMiB = 1024;
inline constexpr qint64 MaxMemoryMiB = 1024 * 1024;

// Frames on the process's standard output.
enum Frame : quint8 { LogFrame = 1, ResultFrame = 2 };

QByteArray encodeRequest(const ScriptRequest& request);
// Takes whole frames from the front of `buffer`: the lines to `log`, a
// result to `result`. False when the stream is not made of frames.
bool takeFrames(QByteArray& buffer, const std::function<void(const QStringList&)>& log,
                std::optional<ScriptResult>& result);

// The script's process: runs the request read from standard input under a
// bound of `memoryMiB` more than the process takes when it starts, and
// returns its exit status.
int run(qint64 memoryMiB);

} // namespace ScriptChild
