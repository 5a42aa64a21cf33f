#include "cli/standard_streams.h"

#include "cli/command_line.h"

#include <QFileDevice>
#include <QTextStream>

#include <cerrno>

bool streamFailed(const QTextStream& stream)
{
    if (stream.status() != QTextStream::Ok)
        return true;
    const auto* file = qobject_cast<const QFileDevice*>(stream.device());
    return file && file->error() != QFileDevice::NoError;
}

bool flushStream(QTextStream& stream, std::FILE* file, QString* reason)
{
    stream.flush();
    bool written = !streamFailed(stream);
    errno = 0;
    const bool fileFlushed = std::fflush(file) == 0 && !std::ferror(file);
    const int fileError = errno;
    if (written && fileFlushed)
        return true;
    if (reason) {
        const auto* device = qobject_cast<const QFileDevice*>(stream.device());
        if (device && device->error() != QFileDevice::NoError)
            *reason = device->errorString();
        else
            *reason = qt_error_string(fileError);
    }
    return false;
}

int finishStandardStreams(int status, QTextStream& out, std::FILE* outFile, QTextStream& err, std::FILE* errFile)
{
    QString reason;
    const bool outWritten = flushStream(out, outFile, &reason);
    if (!outWritten)
        err << "Cannot write to standard output: " << reason << '\n';
    const bool errWritten = flushStream(err, errFile);
    if (outWritten && errWritten)
        return status;
    return status == ExitSuccess ? ExitProblems : status;
}
