#pragma once

#include "session/session_outcome.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class EditorSession;

// Every change of the whole image (a patch, a script, restored unsaved
// changes) goes through here: one undo entry on top of the history, after
// which the session picks the current map again from the image in force.
// The session holds the one instance (EditorSession::wholeImage()).
class WholeImageChange {
public:
    // What a whole-image change needs of the session and no window calls.
    struct Hooks {
        // The pick's question about unsaved working copies: true to keep
        // them in the image, false to drop them, nothing for Cancel.
        std::function<std::optional<bool>()> askKeepWorkingCopies;
        // Edits, undos, loads and picks so far.
        std::function<quint64()> changeCount;
        // Kept working copies were written into the image outside the
        // history: it differs from the file.
        std::function<void()> writtenOutsideHistory;
        // The image was replaced whole (the undo entry, either way): the
        // current map is picked again from it.
        std::function<void()> replaced;
    };

    WholeImageChange(EditorSession& session, Hooks hooks) : m_session(session), m_hooks(std::move(hooks)) {}

    // The image becomes `image` as one undo entry named `text`; `before` is
    // what undo puts back (the image as it is when not given).
    void replace(const QString& text, const QByteArray& image);
    void replace(const QString& text, const QByteArray& before, const QByteArray& image);

    // A change computed elsewhere starts here: the pick's question about
    // unsaved working copies comes first. `image` is what the change starts
    // from: the image as Save Rom would write it when they are kept, else the
    // image without them. Declined: Cancel. Nothing changes until finish().
    struct Start {
        SessionOutcome outcome;
        bool keep = false;
        QByteArray image;
        // The image with the kept working copies written in (without the
        // checksums a save sets): what undo brings back and what the result
        // is compared with. The image itself when they are not kept.
        QByteArray base;
        quint64 changes = 0;   // the session's change count when it began
    };
    Start begin();
    // The change's result replaces the image (kept working copies become
    // image bytes, so that undo brings them back as such); the note says when
    // the result equals start.base. Refused, with nothing changed, when
    // anything was edited, undone or loaded since the start: the result would
    // drop that work. `sameAsBase`: that comparison, made beforehand on
    // another thread, so that nothing here reads the whole image.
    SessionOutcome finish(const Start& start, const QString& text, const QByteArray& result,
                          std::optional<bool> sameAsBase = std::nullopt);

    // For changes that replace what the image means rather than its bytes
    // (the catalogue) and for watchers of outside edits: the pick's question,
    // kept working copies written outside the history, the map picked again,
    // and the count of edits, undos, loads and picks so far.
    std::optional<bool> askKeepWorkingCopies() const { return m_hooks.askKeepWorkingCopies(); }
    void writtenOutsideHistory() const { m_hooks.writtenOutsideHistory(); }
    void pickAgain() const { m_hooks.replaced(); }
    quint64 changeCount() const { return m_hooks.changeCount(); }

private:
    EditorSession& m_session;
    Hooks m_hooks;
};
