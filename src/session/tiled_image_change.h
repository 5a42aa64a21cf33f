#pragma once

#include "session/session_outcome.h"

#include <QString>
#include <QStringList>

class EditorSession;
struct Catalogue;

// Every map of `catalogue` from `image` into `folder`, on any thread: done,
// or refused with what could not be written; `lines` gets all the export said.
SessionOutcome exportEveryMap(const Catalogue& catalogue, const QByteArray& image, const QString& folder,
                              QStringList* lines);

// The editor's side of the Tiled maps: every map written out as the image
// stands with the shown map's unsaved edits, the shown map alone, and Tiled
// maps brought back as one undo entry through the whole-image step.
class TiledImageChange {
public:
    explicit TiledImageChange(EditorSession& session) : m_session(session) {}

    // Every map of the catalogue into `folder`, from the image as Save Rom
    // would write it. Done with a note when some maps could not be written;
    // `lines` gets what the export said.
    SessionOutcome exportAll(const QString& folder, QStringList* lines);
    // The shown map with its unsaved edits, and its tileset, into `folder`;
    // the .tmx written in `path`.
    SessionOutcome exportShown(const QString& folder, QString* path);

    // The maps of `files` (one .tmx, or every .tmx of a folder) into the
    // image as one undo entry "Import from Tiled NAME" (NAME: the file's map,
    // or the folder's name). The pick's question about unsaved working
    // copies comes first; a refusal changes nothing and makes no entry.
    SessionOutcome import(const QString& fileOrFolder);

private:
    EditorSession& m_session;
};
