#include "session/last_session.h"

#include <QFileInfo>

namespace {

bool sameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

SessionStart planStart(const LastSession& last, const QString& romArgument, const QString& catalogueArgument,
                       const QString& programDir)
{
    SessionStart start;
    start.rom = romArgument;
    start.catalogue = catalogueArgument.isEmpty() ? programDir : catalogueArgument;
    const bool lastRom = romArgument.isEmpty() ? QFileInfo(last.rom).isFile() : sameFile(romArgument, last.rom);
    if (!lastRom)
        return start;
    start.rom = romArgument.isEmpty() ? last.rom : romArgument;
    if (catalogueArgument.isEmpty() && !last.catalogue.isEmpty() && QFileInfo(last.catalogue).isDir())
        start.catalogue = last.catalogue;
    start.restoreMap = sameFile(start.catalogue, last.catalogue);
    return start;
}
