#pragma once

#include "session/whole_image_change.h"

#include <QDockWidget>
#include <QStringList>

class EditorSession;
class QLineEdit;
class QPlainTextEdit;
class ScriptJob;
struct ScriptResult;

// The "Script Console" panel: a line of JavaScript run on the current image
// with the scripts' API and sandbox, in a process of its own as any script;
// its log and its value (when it has one) are shown below the line, and a
// line that changes the image is one undo entry "Console LINE". Each line
// runs on its own: nothing of one line is kept for the next. Up and Down
// walk through the lines entered.
class ScriptConsole : public QDockWidget {
    Q_OBJECT
public:
    ScriptConsole(EditorSession& session, QWidget* parent = nullptr);

    // Runs `line` as Enter in the input does; false while a line runs or
    // without an image.
    bool runLine(const QString& line);
    bool isRunning() const;
    void setMemoryMiB(qint64 memoryMiB);

    QLineEdit* Input = nullptr;
    QPlainTextEdit* Output = nullptr;
    ScriptJob* job = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finished(const ScriptResult& result);
    void showHistory(int step);

    EditorSession& m_session;
    QStringList m_history;
    qsizetype m_historyAt = 0;   // m_history.size(): the line being written
    WholeImageChange::Start m_start;
    QString m_line;
};
