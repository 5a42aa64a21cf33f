#include "model/rom/rom_backups.h"

#include "base/safe_write.h"

#include <QFile>
#include <QFileInfo>

RomBackups::Outcome RomBackups::keepPrevious(const QString& path, QString* error)
{
    const QFileInfo info(path);
    const QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    if (m_kept.contains(key))
        return Outcome::NotNeeded;
    if (!info.isFile()) {
        // A file this run creates has no previous content to keep (and what
        // is no file, such as a folder, is no ROM image to keep either).
        m_kept.insert(key);
        return Outcome::NotNeeded;
    }
    const QString bak = backupPath(path);
    QFile old(path);
    QByteArray bytes;
    bool ok = old.open(QIODevice::ReadOnly);
    if (ok) {
        bytes = old.readAll();
        ok = old.error() == QFileDevice::NoError;
    }
    if (!ok || !writeFileAtomically(bak, bytes)) {
        if (error)
            *error = QStringLiteral("Cannot create file %1").arg(bak);
        return Outcome::Failed;
    }
    m_kept.insert(key);
    return Outcome::Kept;
}

QString RomBackups::keptMessage(const QString& path)
{
    return QStringLiteral("Kept the previous file as %1").arg(QFileInfo(backupPath(path)).fileName());
}
