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
// catalogue as it now reads (the new map, for New Map).
class CatalogueEdits : public QObject {
    Q_OBJECT
public:
    explicit CatalogueEdits(EditorSession& session, QObject* parent = nullptr);

    // Declined: Cancel at the question. Refused: the write's refusal; nothing written.
    SessionOutcome apply(const QString& text, const std::function<CatalogueWrite()>& write,
                         const QString& pickAfter = {});

signals:
    // The catalogue's files changed (a write, its undo or redo): the choosers fill again.
    void catalogueChanged();

private:
    EditorSession& m_session;
};
