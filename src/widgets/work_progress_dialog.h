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
// Escape ask the work to stop. The work's end calls end(); from then on the
// dialog never shows, also when the work ended before it was shown.
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
    void show();

    QPointer<QWidget> m_window;
    QPointer<QProgressDialog> m_dialog;
    QProgressBar* m_bar = nullptr;   // the dialog's own, set directly
    WorkProgress* m_progress = nullptr;
    QTimer m_poll;
    QTimer m_show;   // the delay before the dialog shows
};
