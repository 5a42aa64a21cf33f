#include "model/rom/rom_image.h"

#include "model/rom/rom_backups.h"
#include "base/safe_write.h"

#include <QFile>

#include <cstring>

bool RomImage::loadFromFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxSize) {
        if (error)
            *error = QStringLiteral("Cannot open file %1").arg(path);
        return false;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot open file %1").arg(path);
        return false;
    }
    m_bytes = std::move(content);
    return true;
}

bool RomImage::saveToFile(const QString& path, QString* error, RomBackups* backups, bool* backupKept) const
{
    if (backupKept)
        *backupKept = false;
    if (backups) {
        const RomBackups::Outcome kept = backups->keepPrevious(path);
        if (kept == RomBackups::Outcome::Failed) {
            // The file the user saved is what was not written; the copy is why.
            if (error)
                *error = QStringLiteral("Cannot create file %1 (its backup %2 cannot be written)")
                             .arg(path, RomBackups::backupPath(path));
            return false;
        }
        if (backupKept)
            *backupKept = kept == RomBackups::Outcome::Kept;
    }
    if (!writeFileAtomically(path, m_bytes)) {
        if (error)
            *error = QStringLiteral("Cannot create file %1").arg(path);
        return false;
    }
    return true;
}

bool RomImage::contains(qint64 offset, qint64 length) const
{
    return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
}

int RomImage::byteAt(qint64 offset) const
{
    if (!contains(offset, 1))
        return -1;
    return quint8(m_bytes.at(offset));
}

bool RomImage::readAt(qint64 offset, void* destination, qint64 n) const
{
    if (!contains(offset, n))
        return false;
    if (n > 0)
        std::memcpy(destination, m_bytes.constData() + offset, size_t(n));
    return true;
}

bool RomImage::writeAt(qint64 offset, const void* source, qint64 n)
{
    if (!contains(offset, n))
        return false;
    if (n > 0)
        std::memcpy(m_bytes.data() + offset, source, size_t(n));
    return true;
}
