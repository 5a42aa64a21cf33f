#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <QTimer>

class QProgressBar;
class QWidget;
class WorkProgress;

// The window-modal progress dialog of work running on another thread: shown
// only once the work has lasted ShowAfterMs, so that quick work shows
// nothing; its bar follows the work's figures, read every PollMs; Cancel and
// Escape ask the work to stop. The work's end calls end().
class WorkProgressDialog : public QObject {
    Q_OBJECT
public:
    static constexpr int ShowAfterMs = 300;
    static constexpr int PollMs = 50;

    // The dialog is modal to `window` (none: to the application).
    explicit WorkProgressDialog(QWidget* window, QObject* parent = nullptr);
    ~WorkProgressDialog() override;

    // `progress` must outlive the dialog's use of it, until end().
    void begin(WorkProgress& progress, const QString& label);
    void end();

    // The dialog while work runs, shown or not yet; null otherwise.
    QProgressDialog* dialog() const { return m_dialog; }

private:
    void poll();

    QPointer<QWidget> m_window;
    QPointer<QProgressDialog> m_dialog;
    QProgressBar* m_bar = nullptr;   // the dialog's own, set directly
    WorkProgress* m_progress = nullptr;
    QTimer m_poll;
};
