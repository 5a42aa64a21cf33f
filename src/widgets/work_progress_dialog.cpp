#include "widgets/work_progress_dialog.h"

#include "base/work_progress.h"

#include <QProgressBar>
#include <QProgressDialog>

namespace {
// The bar counts in thousandths: the work's figures may pass an int.
constexpr int BarSteps = 1000;
}

WorkProgressDialog::WorkProgressDialog(QWidget* window, QObject* parent) : QObject(parent), m_window(window)
{
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &WorkProgressDialog::poll);
    // The delay is this object's own timer, not the dialog's: end() stops it,
    // so a dialog whose work ended (under a message box, say) never shows.
    m_show.setSingleShot(true);
    m_show.setInterval(ShowAfterMs);
    connect(&m_show, &QTimer::timeout, this, &WorkProgressDialog::show);
}

WorkProgressDialog::~WorkProgressDialog()
{
    delete m_dialog;
}

void WorkProgressDialog::begin(WorkProgress& progress, const QString& label)
{
    end();
    m_progress = &progress;
    m_dialog = new QProgressDialog(m_window);
    m_dialog->setObjectName(QStringLiteral("WorkProgressDialog"));
    m_dialog->setWindowTitle(QStringLiteral("Kartola"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setLabelText(label);
    m_dialog->setCancelButtonText(QStringLiteral("Cancel"));
    // The bar is driven directly: the dialog's own setValue() would run the
    // event loop from inside this timer's call once the dialog is shown.
    m_bar = new QProgressBar(m_dialog);
    m_bar->setRange(0, BarSteps);
    m_dialog->setBar(m_bar);
    m_dialog->setRange(0, BarSteps);
    // Its own delay never runs: it starts only with the dialog's setValue(),
    // which is never called.
    m_bar->setValue(0);
    // Cancel, Escape and the close box all come as canceled().
    connect(m_dialog, &QProgressDialog::canceled, this, [this] {
        if (m_progress)
            m_progress->stop();
    });
    m_poll.start();
    m_show.start();
}

void WorkProgressDialog::show()
{
    if (!m_dialog || !m_progress)
        return;
    m_dialog->show();
    // Escape goes to the dialog in front, not to the window it blocks.
    m_dialog->raise();
    m_dialog->activateWindow();
}

void WorkProgressDialog::end()
{
    m_show.stop();
    m_poll.stop();
    m_progress = nullptr;
    m_bar = nullptr;
    if (m_dialog) {
        m_dialog->disconnect(this);
        // Hides it and stops any delay of its own (no signal is emitted).
        m_dialog->cancel();
        m_dialog->hide();
        m_dialog->deleteLater();
        m_dialog = nullptr;
    }
}

void WorkProgressDialog::poll()
{
    if (!m_progress || !m_bar)
        return;
    const qint64 total = m_progress->total();
    const qint64 done = qBound<qint64>(0, m_progress->done(), total);
    m_bar->setValue(total > 0 ? int(done * BarSteps / total) : 0);
}
