#pragma once

// A catalogue of many maps for the batch benchmarks: the demo maps listed
// again and again under new names.
#include "base/ini_file.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace bench {

// Lists the demo maps again under `count` new names in category "Many".
inline bool writeManyMaps(const QString& dir, int count)
{
    const QDir d(dir);
    IniFile mainIni(d.filePath(QStringLiteral("Main.Ini")));
    QStringList demo;
    for (const QString& category : mainIni.sections())
        for (const QString& key : mainIni.keys(category))
            demo << mainIni.readString(category, key);
    QByteArray main = "[Many]\r\n";
    for (const char* name : {"Maps.Ini", "Events.ini", "Critters.ini"}) {
        const IniFile source(d.filePath(QLatin1String(name)));
        QByteArray text;
        for (int k = 0; k < count; ++k) {
            const QString from = demo.at(k % demo.size());
            if (!source.hasSection(from))
                continue;
            text += QStringLiteral("[%1 %2]\r\n").arg(from).arg(k).toUtf8();
            for (const QString& key : source.keys(from))
                text += (key + QLatin1Char('=') + source.readString(from, key) + QStringLiteral("\r\n")).toUtf8();
        }
        QFile file(d.filePath(QLatin1String(name)));
        if (!file.open(QIODevice::Append) || file.write(text) != text.size())
            return false;
    }
    for (int k = 0; k < count; ++k)
        main += QStringLiteral("%1=%2 %3\r\n").arg(k + 1).arg(demo.at(k % demo.size())).arg(k).toUtf8();
    QFile file(d.filePath(QStringLiteral("Main.Ini")));
    return file.open(QIODevice::Append) && file.write(main) == main.size();
}

} // namespace bench
