#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUndoCommand>

#include <functional>
#include <optional>

// The text of catalogue files before and after one change of the catalogue,
// so that the change can be undone and redone as a whole. A file that did
// not exist before is removed again by undo.
struct CatalogueFileText {
    QString path;
    std::optional<QByteArray> before; // nothing: the file did not exist
    std::optional<QByteArray> after;
};

class CatalogueFilesChange {
public:
    // Records the present text of `path` as its text before the change
    // (once per file; a second call for the same file does nothing).
    void recordBefore(const QString& path);
    // The same with the text before given (a change made elsewhere joins this one).
    void recordBefore(const QString& path, const std::optional<QByteArray>& before);
    // Records the present text of every recorded file as its text after.
    void recordAfter();
    // Puts back the text before (after, for redo), a file at a time; the
    // files already put back are put forward again when one fails, so the
    // catalogue is never half undone. `error` names the file that failed.
    bool restoreBefore(QString* error = nullptr) const { return put(true, error); }
    bool restoreAfter(QString* error = nullptr) const { return put(false, error); }

    // Writes each changed file's text before as NAME.bak beside it.
    bool keepBackups(QString* error = nullptr) const;

    const QList<CatalogueFileText>& files() const { return m_files; }
    bool changed() const;

    static std::optional<QByteArray> readFile(const QString& path);

private:
    bool put(bool before, QString* error) const;

    QList<CatalogueFileText> m_files;
};

// One undo entry for a catalogue change already made: the first redo finds
// the files as they are after it and writes nothing. `changed` is called
// after each undo and redo (the editor reads its catalogue again); `failed`
// receives the reason when the files could not be put back.
class CatalogueChangeCommand : public QUndoCommand {
public:
    CatalogueChangeCommand(const QString& text, CatalogueFilesChange change, std::function<void()> changed = {},
                           std::function<void(const QString&)> failed = {});
    void undo() override;
    void redo() override;

private:
    void done(bool ok, const QString& error);

    CatalogueFilesChange m_change;
    std::function<void()> m_changed;
    std::function<void(const QString&)> m_failed;
};
