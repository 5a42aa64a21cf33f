#include "model/tiled/tiled_names.h"

#include <QStringList>

QString tiledFileName(const QString& name)
{
    QString safe;
    for (QChar c : name)
        safe += (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) ? QLatin1Char('_') : c;
    if (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' ')))
        safe.back() = QLatin1Char('_');
    if (safe.isEmpty())
        safe = QStringLiteral("_");
    static const QStringList devices = [] {
        QStringList names{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
        for (int i = 1; i <= 9; ++i)
            names << QStringLiteral("COM%1").arg(i) << QStringLiteral("LPT%1").arg(i);
        return names;
    }();
    const QString stem = safe.section(QLatin1Char('.'), 0, 0).trimmed();
    if (devices.contains(stem, Qt::CaseInsensitive))
        safe.prepend(QLatin1Char('_'));
    return safe;
}

QString tiledTilesetName(int tileset)
{
    return QStringLiteral("tileset-%1").arg(tileset);
}
