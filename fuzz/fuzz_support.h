#pragma once

// Shared helpers of the fuzz targets: a scratch folder for the run and a
// file written there, since the catalogue layer and the picture loader read
// files.

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

namespace fuzz {

inline const QTemporaryDir& scratch()
{
    // In memory where the system offers it: the targets write a file per input.
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/kartola-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/kartola-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    return dir;
}

// Writes `bytes` to `name` in the scratch folder; returns the path.
inline QString writeScratch(const QString& name, const QByteArray& bytes)
{
    const QString path = scratch().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(bytes);
    return path;
}

// The same, for a file that stands for one long settled on disk: its
// modification time is set in the past, a different moment for every call,
// so the INI layer parses it once instead of comparing its bytes at every
// read as it does for a file written a moment ago.
inline QString writeSettledScratch(const QString& name, const QByteArray& bytes)
{
    static qint64 calls = 0;
    const QString path = writeScratch(name, bytes);
    QFile file(path);
    const QDateTime past = QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch() - 864000000 + ++calls);
    if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(past, QFileDevice::FileModificationTime))
        std::abort();
    return path;
}

// A Qt check that failed is a crash for the fuzzer.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);                         \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

} // namespace fuzz
