#include "base/safe_write.h"

#include <QSaveFile>

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

    QString deviceReason;
    if (!putBytesOnDevice(file, bytes, &deviceReason))
        return fail(deviceReason);
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
