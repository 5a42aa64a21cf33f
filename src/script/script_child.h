#pragma once

#include "script/script_run.h"

#include <QByteArray>
#include <QDataStream>
#include <QList>
#include <QDataStream>
#include <QList>

// A script run in a process of its own, the program started again with
// ScriptChildOption: the request goes to it on its standard input, its log
// lines and its result come back on its standard output as frames. The
// process bounds its own address space, so a script that takes too much
// memory ends there and nowhere else.
namespace ScriptChild {

// The one argument that makes the program a script's process. Not an option
// of the command line's help.
inline constexpr char Option[] = "--script-child";
// The process's exit status when memory ran out.
inline constexpr int ExitOutOfMemory = 3;
inline constexpr qint64 DefaultMemoryMiB = 1024;
inline constexpr qint64 MaxMemoryMiB = 1024 * 1024;

// Frames on the process's standard output.
enum Frame : quint8 { LogFrame = 1, ResultFrame = 2 };

// The request and the memory bound in MiB, as the process reads them.
QByteArray encodeRequest(const ScriptRequest& request, qint64 memoryMiB);
// Bytes a script changed: `bytes` from `offset` on; an offset of -1 is a
// whole image of another length.
struct ImageChange {
    qint64 offset = 0;
    QByteArray bytes;
    friend QDataStream& operator<<(QDataStream& out, const ImageChange& c) { return out << c.offset << c.bytes; }
    friend QDataStream& operator>>(QDataStream& in, ImageChange& c) { return in >> c.offset >> c.bytes; }
};
// What turns `before` into `after`, in few runs.
QList<ImageChange> imageChanges(const QByteArray& before, const QByteArray& after);
// Applies `changes` to `image`; false (and `image` partly changed) when one
// lies outside it.
bool applyImageChanges(QByteArray& image, const QList<ImageChange>& changes);

// Takes whole frames from the front of `buffer`: the lines to `log`, a
// result to `result`, its image made from `image`, the request's, and the
// changes the frame brings. False when the stream is not made of frames.
bool takeFrames(QByteArray& buffer, const std::function<void(const QStringList&)>& log,
                std::optional<ScriptResult>& result, const QByteArray& image);

// The script's process: waits for the request on standard input, runs it
// under a bound of its memory more than the process takes by then, and
// returns its exit status (1 for a request that is none, or no request).
int run();

} // namespace ScriptChild
