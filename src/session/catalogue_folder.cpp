#include "session/catalogue_folder.h"

#include "base/file_lookup.h"
#include "base/ini_file.h"
#include "base/safe_write.h"
#include "model/rom/cartridge_header.h"
#include "session/editor_session.h"

#include <QFileInfo>

namespace CatalogueFolder {

QString romKey(const QByteArray& image)
{
    if (image.size() < CartridgeHeader::HeaderEnd)
        return {};
    const QByteArray title = image.mid(0x134, 16);
    const QByteArray checksum = image.mid(0x14E, 2);
    return QString::fromLatin1(title.toHex()) + QLatin1Char('-') + QString::fromLatin1(checksum.toHex());
}

bool makeFiles(const QString& folder, QString* error)
{
    for (const char* name : {"Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini", "Options.ini"}) {
        const QString path = catalogueFilePath(folder, QLatin1String(name));
        if (QFileInfo::exists(resolveCatalogueFile(path)))
            continue;
        if (!writeFileAtomically(path, QByteArray())) {
            if (error)
                *error = QStringLiteral("Cannot create file %1").arg(path);
            return false;
        }
    }
    return true;
}

SessionOutcome switchTo(EditorSession& session, const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return SessionOutcome::refused(QStringLiteral("Cannot open folder %1").arg(folder));
    const std::optional<bool> keep = session.wholeImage().askKeepWorkingCopies();
    if (!keep)
        return SessionOutcome::declined();
    if (*keep) {
        session.writeWorkingCopies();
        session.wholeImage().writtenOutsideHistory();
    }
    session.state().core.catalogue = Catalogue(folder);
    IniFile::dropCache();
    session.wholeImage().pickAgain();
    return SessionOutcome::done();
}

} // namespace CatalogueFolder
