#pragma once

#include <QByteArray>
#include <QString>

class EditorSession;

// The question about the recovery copy of a ROM file just loaded, and what
// each answer does: Yes puts the changes back as one undoable replacement of
// the image (or, when the file changed on disk since, onto the file as it is
// now, saved to a file the user names); No keeps the copy aside.
class RecoveryOffer {
public:
    explicit RecoveryOffer(EditorSession& session) : m_session(session) {}

    // Asks when the ROM file loaded has a recovery copy; nothing otherwise.
    void offer();

private:
    void restore(const QByteArray& image, const QString& mapName);
    void saveRecoveredAs(const QByteArray& image);

    EditorSession& m_session;
};
