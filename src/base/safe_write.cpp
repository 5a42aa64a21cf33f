#include "base/safe_write.h"

#include <QSaveFile>

#include <filesystem>
#include <system_error>

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason)
{
    return writeFileAtomically(path, [&](const AppendBytes& append) {
        return append(bytes.constData(), bytes.size());
    }, reason);
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

    QString deviceReason;
    bool failed = false;
    const AppendBytes append = [&](const char* data, qint64 size) {
        if (failed || size < 0)
            return false;
        if (size > 0 && !putBytesOnDevice(file, QByteArray::fromRawData(data, qsizetype(size)), &deviceReason))
            failed = true;
        return !failed;
    };
    const bool produced = produce(append);
    if (failed)
        return fail(deviceReason);
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

bool replaceFileWith(const QString& target, const QString& source, QString* reason)
{
    // A rename within one folder replaces the target atomically.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(source.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error && reason)
        *reason = QString::fromStdString(error.message());
    return !error;
}
