#include "base/safe_write.h"

#include <QSaveFile>

namespace {
qint64 g_freeBytes = -1;
}

void SafeWriteFaults::setFreeBytes(qint64 bytes) { g_freeBytes = bytes < 0 ? -1 : bytes; }
qint64 SafeWriteFaults::freeBytes() { return g_freeBytes; }

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(path);
    auto fail = [&](const QString& why) {
        file.cancelWriting();
        if (reason)
            *reason = why;
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());

    qint64 allowed = bytes.size();
    if (g_freeBytes >= 0 && allowed > g_freeBytes)
        allowed = g_freeBytes;
    if (allowed > 0 && file.write(bytes.constData(), allowed) != allowed)
        return fail(file.errorString());
    if (!file.flush())
        return fail(file.errorString());
    if (allowed < bytes.size()) {
        g_freeBytes = 0;
        return fail(QStringLiteral("No space left on device"));
    }
    if (g_freeBytes >= 0)
        g_freeBytes -= allowed;
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (!file.commit()) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

bool writeFileAtomically(const QString& path, const std::function<bool(const AppendBytes&)>& produce,
                         QString* reason)
{
    QSaveFile file(path);
    auto fail = [&](const QString& why) {
        file.cancelWriting();
        if (reason)
            *reason = why;
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());

    bool full = false;
    const AppendBytes append = [&](const char* data, qint64 size) {
        if (full || size < 0)
            return false;
        qint64 allowed = size;
        if (g_freeBytes >= 0 && allowed > g_freeBytes)
            allowed = g_freeBytes;
        if (allowed > 0 && file.write(data, allowed) != allowed)
            return false;
        if (g_freeBytes >= 0)
            g_freeBytes -= allowed;
        full = allowed < size;
        return !full;
    };
    const bool produced = produce(append);
    if (!file.flush())
        return fail(file.errorString());
    if (full)
        return fail(QStringLiteral("No space left on device"));
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (!produced)
        return fail(QStringLiteral("The content could not be made"));
    if (!file.commit() || file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}
