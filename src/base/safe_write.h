#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

class QFileDevice;

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

// The step of a checked write that reaches the device: writes `bytes` into the
// open `file` and flushes them; false, with the reason, when the device took
// less. It has a file of its own (safe_write_device.cpp) so that a test
// program can link a disk with little room in its place.
bool putBytesOnDevice(QFileDevice& file, const QByteArray& bytes, QString* reason);
// The same for content made piece by piece (a picture written a band at a
// time): `produce` is called once with a function that appends bytes to the
// temporary file and returns false when they could not be written. When
// `produce` returns false, or any piece failed, or the flush or the commit
// fails, the target stays as it was.
using AppendBytes = std::function<bool(const char* data, qint64 size)>;
bool writeFileAtomically(const QString& path, const std::function<bool(const AppendBytes& append)>& produce,
                         QString* reason = nullptr);

// Puts the whole file `source` (written by the functions above) in place of
// `target` in one step: `target` is then the old file or the new one, never
// a part. False, with the reason, when it cannot be done; nothing changed.
bool replaceFileWith(const QString& target, const QString& source, QString* reason = nullptr);
