#pragma once

#include "model/catalogue/catalogue_writer.h"
#include "session/session_outcome.h"

#include <QObject>

#include <functional>

class EditorSession;

// A change of the catalogue made in the editor (New Category, New Map, Map
// and Tileset Properties, Tiles from ROM): the pick's question about
// unsaved working copies first, then the write, one undo entry that puts
// every file's previous text back, and the map picked again from the
// catalogue as it now reads (the new map, for New Map). A catalogue folder
// that cannot be written is first offered to be copied to one of the user's.
class CatalogueEdits : public QObject {
    Q_OBJECT
public:
    explicit CatalogueEdits(EditorSession& session, QObject* parent = nullptr);

    // Declined: Cancel at the question. Refused: the write's refusal; nothing written.
    SessionOutcome apply(const QString& text, const std::function<CatalogueWrite()>& write,
                         const QString& pickAfter = {});

signals:
    // The catalogue folder could not be written and was copied to `folder`,
    // which is the catalogue from now on.
    void folderCopied(const QString& folder);
    // The catalogue's files changed (a write, its undo or redo): the choosers fill again.
    void catalogueChanged();

private:
    // Before the first change of a catalogue that cannot be written: the
    // offer to copy it to a folder of the user's. Done: go on (copied or
    // writable); declined or refused: no change.
    SessionOutcome ensureWritable();

    EditorSession& m_session;
};
