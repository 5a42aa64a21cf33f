#pragma once

#include <QDockWidget>

class QPlainTextEdit;
class QPushButton;

// The "Script Output" panel: the log of the script run last, its error or
// stop as FILE:LINE: message, and a Stop button while it runs.
class ScriptOutputPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ScriptOutputPanel(QWidget* parent = nullptr);

    // Clears the log for a new run of `name` and shows the panel.
    void begin(const QString& name);
    void addLine(const QString& line);
    void addLines(const QStringList& lines);
    void setRunning(bool running);
    QString text() const;

    QPlainTextEdit* Log = nullptr;
    QPushButton* Stop = nullptr;
};
