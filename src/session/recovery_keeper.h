#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class EditorSession;
class RecoveryWriter;

// Keeps the recovery file of the ROM file being edited while anything is
// unsaved: written at most once a second after a change (and at once when
// asked), removed when nothing is unsaved any more. With no folder set (the
// default) it keeps none. The file is made and written on a thread of its
// own from a snapshot: the image shared, not copied, and a copy of the
// working copies, so that the window's thread pays for the working copies
// only, whatever the image's size. Removing it waits for a write under way.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    explicit RecoveryKeeper(EditorSession& session);

    // The folder the program keeps its recovery files in, in the user's data folder.
    static QString standardFolder();
    void setFolder(const QString& folder);
    QString folder() const { return m_folder; }
    // The recovery file of the ROM file loaded; empty without a ROM or folder.
    QString filePath() const;

    // The ROM file's bytes as they lie on disk now (at load and at every save
    // to it): the source of the patch.
    void setOnDisk(const QByteArray& bytes);
    const QByteArray& onDisk() const { return m_onDisk; }

    // Something may have changed: the file is written (or removed) a second
    // later. Costs a timer start at most, so it may run on every paint step.
    void changed();
    // Hands the file's snapshot to the writer now, or removes the file when
    // nothing is unsaved. A write that fails says why on the status line.
    void writeNow();
    void remove();
    // Returns once the file on disk is what the last writeNow() asked for.
    void settle();
    // No: the recovery file is kept aside as NAME.recovered.bps beside it.
    // Returns the path it was kept as, empty when it could not be moved.
    QString setAside();

private:
    EditorSession& m_session;
    QString m_folder;
    QByteArray m_onDisk;
    quint32 m_onDiskCrc = 0;
    QTimer m_timer;
    RecoveryWriter* m_writer;
};
