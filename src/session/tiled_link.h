#pragma once

#include "session/session_outcome.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class EditorSession;

// Edit in Tiled: the shown map, with its unsaved edits, goes into a folder
// of its own under the user's data folder, the Tiled command starts on its
// .tmx, and the file is watched: each save in Tiled comes back as one undo
// entry. When the map was also edited here since it last went out or came
// back, the user is asked which to keep. Tiled runs on its own: closing
// the editor leaves it open.
class TiledLink : public QObject {
    Q_OBJECT
public:
    static constexpr int SettleMs = 100;   // a save's writes settle before the file is read

    explicit TiledLink(EditorSession& session, QObject* parent = nullptr);

    // The command of Preferences, "tiled %f" until one is set; %f is the file.
    static QString command();
    static void setCommand(const QString& command);

    // Writes the shown map out and starts `command` on it (no command:
    // only written and watched). Done: the note names the file.
    SessionOutcome start(const QString& command);
    // The .tmx being watched; empty before start().
    QString file() const { return m_file; }
    // The folder maps go into for Tiled: one of its own per map.
    static QString folderFor(const QString& map);

signals:
    // A save came back: applied, declined or refused (shown already).
    void saveHandled(const SessionOutcome& outcome);

private:
    void changed();
    void takeSave();

    EditorSession& m_session;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_file;
    QString m_map;
    QByteArray m_lastSeen;   // the file's bytes as written or last taken
    quint64 m_changes = 0;   // the session's change count when they matched
};
