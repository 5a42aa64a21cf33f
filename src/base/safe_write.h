#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

// Every file the editor writes (ROM images, catalogue files, map files,
// pictures) goes through this one helper: the bytes are written to a
// temporary file beside the target, flushed and checked, and only then
// does the temporary file replace the target. On any failure the target is
// left byte for byte as it was (or absent, if it was absent) and false is
// returned, with the system's reason in `reason` when given. The caller
// words the message ("Cannot create file %1", "Unable to write to %1").
//
// Flushing before commit() matters: Qt 6.4's QSaveFile::commit() can report
// success when the last buffered write failed on a full disk.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// The same for content made piece by piece (a picture written a band at a
// time): `produce` is called once with a function that appends bytes to the
// temporary file and returns false when they could not be written. When
// `produce` returns false, or any piece failed, or the flush or the commit
// fails, the target stays as it was.
using AppendBytes = std::function<bool(const char* data, qint64 size)>;
bool writeFileAtomically(const QString& path, const std::function<bool(const AppendBytes& append)>& produce,
                         QString* reason = nullptr);

// Test seam: simulates a device with little room. While the budget is set
// (0 or more), every writeFileAtomically() takes its bytes from it; a write
// that needs more than is left writes what fits and then fails as on a full
// disk ("No space left on device"). A negative budget (the default) means no
// limit. Only tests and fuzz targets use this.
namespace SafeWriteFaults {
void setFreeBytes(qint64 bytes);
qint64 freeBytes();
} // namespace SafeWriteFaults
