#pragma once

#include "session/session_outcome.h"

#include <QByteArray>
#include <QString>

class EditorSession;

// The catalogue folder that travels with a ROM: a ROM is known by its
// cartridge header's title and global checksum, and the folder chosen for
// it comes back whenever an image with that header is loaded.
namespace CatalogueFolder {

// "title-checksum" in hexadecimal, or empty for an image shorter than a header.
QString romKey(const QByteArray& image);

// A new catalogue: the six catalogue files, empty, where they are missing.
bool makeFiles(const QString& folder, QString* error);

// A file can be made in `folder` and its catalogue files can be written (an
// installed catalogue cannot).
bool isWritable(const QString& folder);

// A folder of the user's for a copy of the catalogue of the ROM `romKey`:
// a new name under the program's data folder.
QString ownCopyPath(const QString& romKey);

// Copies every file and folder below `from` into `to`, made new. On failure
// nothing of the copy stays, and `error` says which file failed.
bool copyFolder(const QString& from, const QString& to, QString* error);

// The editor reads its catalogue from `folder` from now on: the pick's
// question first, then the map shown is picked again from the new files
// (and dropped when they do not describe it).
SessionOutcome switchTo(EditorSession& session, const QString& folder);

} // namespace CatalogueFolder
