#include "base/file_lookup.h"

#include <QDir>
#include <QFileInfo>

QString catalogueFilePath(const QString& directory, const QString& name)
{
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(relative))
        return QDir::cleanPath(relative);
    return QDir::cleanPath(directory + QLatin1Char('/') + relative);
}

QString resolveCatalogueFile(const QString& rawPath)
{
    QString path = rawPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo::exists(path))
        return path;

    // Walk down from the longest prefix that exists, matching each missing
    // component against the folder's entries without regard to case.
    QStringList parts = path.split(QLatin1Char('/'));
    QString current = path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        QString candidate = current.isEmpty() ? part
            : (current.endsWith(QLatin1Char('/')) ? current + part : current + QLatin1Char('/') + part);
        if (!QFileInfo::exists(candidate)) {
            QDir dir(current.isEmpty() ? QStringLiteral(".") : current);
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            QString match;
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    match = entry;
                    break;
                }
            }
            if (match.isEmpty())
                return path;
            candidate = current.isEmpty() ? match
                : (current.endsWith(QLatin1Char('/')) ? current + match : current + QLatin1Char('/') + match);
        }
        current = candidate;
    }
    return current.isEmpty() ? path : current;
}
