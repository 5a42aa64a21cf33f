#include "ui/main/catalogue_check_window.h"

#include "session/catalogue_check_job.h"

#include <QEventLoop>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TCatalogueCheckForm::TCatalogueCheckForm(QWidget* parent) : QDialog(parent), m_job(new CatalogueCheckJob(this))
{
    setObjectName(QStringLiteral("CatalogueCheckForm"));
    setWindowTitle(QStringLiteral("Check Catalogue"));
    CountsLabel = new QLabel(this);
    CountsLabel->setObjectName(QStringLiteral("CountsLabel"));
    CountsLabel->setWordWrap(true);
    ReportMemo = new QPlainTextEdit(this);
    ReportMemo->setObjectName(QStringLiteral("ReportMemo"));
    ReportMemo->setReadOnly(true);
    ReportMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ReportMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ReportMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    CancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    // Cancel ends the check; Close and Escape also hide the window.
    disconnect(buttons, nullptr, this, nullptr);
    connect(CancelButton, &QPushButton::clicked, this, &TCatalogueCheckForm::cancelCheck);
    connect(buttons->button(QDialogButtonBox::Close), &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CountsLabel);
    layout->addWidget(ReportMemo, 1);
    layout->addWidget(ProgressBar);
    layout->addWidget(buttons);
    resize(640, 400);
    connect(m_job, &CatalogueCheckJob::found, this, &TCatalogueCheckForm::found);
    connect(m_job, &CatalogueCheckJob::finished, this, &TCatalogueCheckForm::finished);
    ProgressBar->hide();
    CancelButton->hide();
}

TCatalogueCheckForm::~TCatalogueCheckForm() = default;

void TCatalogueCheckForm::startCheck(const Catalogue& catalogue, const RomImage& rom)
{
    if (cancelCheck()) {
        // The stopped check's last word is waited for, so it cannot land on the new one.
        QEventLoop wait;
        connect(m_job, &CatalogueCheckJob::finished, &wait, &QEventLoop::quit);
        if (m_job->isRunning())
            wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    ReportMemo->clear();
    CountsLabel->setText(QStringLiteral("Checking the maps..."));
    ProgressBar->setRange(0, 0);
    ProgressBar->show();
    CancelButton->show();
    setCursor(Qt::BusyCursor);
    m_job->start(catalogue, rom);
    show();
    raise();
    activateWindow();
}

bool TCatalogueCheckForm::cancelCheck()
{
    if (!m_job->isRunning())
        return false;
    m_job->cancel();
    return true;
}

void TCatalogueCheckForm::found(const QStringList& problems, int done, int total)
{
    ProgressBar->setRange(0, total);
    ProgressBar->setValue(done);
    for (const QString& line : problems)
        ReportMemo->appendPlainText(line);
}

void TCatalogueCheckForm::finished(const CatalogueReport& report, bool whole)
{
    ProgressBar->hide();
    CancelButton->hide();
    unsetCursor();
    if (whole) {
        showReport(report);
        return;
    }
    // Stopped: the lines found so far stay.
    CountsLabel->setText(QStringLiteral("Stopped after %1 maps (%2 with problems): %3 problems so far.")
                             .arg(report.maps).arg(report.faultyMaps).arg(report.problems.size()));
    ReportMemo->setPlainText(report.problems.join(QLatin1Char('\n')));
}

void TCatalogueCheckForm::showReport(const CatalogueReport& report)
{
    CountsLabel->setText(report.summary());
    QStringList lines = report.lines();
    if (report.sound())
        lines.prepend(QStringLiteral("No problems found."));
    ReportMemo->setPlainText(lines.join(QLatin1Char('\n')));
    show();
    raise();
    activateWindow();
}

void TCatalogueCheckForm::reject()
{
    cancelCheck();
    QDialog::reject();
}
