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
    m_dialog->setMinimumDuration(ShowAfterMs);
    m_dialog->setValue(0);   // starts the delay before the dialog shows
    // Cancel, Escape and the close box all come as canceled().
    connect(m_dialog, &QProgressDialog::canceled, this, [this] {
        if (m_progress)
            m_progress->stop();
    });
    m_poll.start();
}

void WorkProgressDialog::end()
{
    m_poll.stop();
    m_progress = nullptr;
    m_bar = nullptr;
    if (m_dialog) {
        m_dialog->disconnect(this);
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
