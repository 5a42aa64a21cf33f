#include "ui/main/catalogue_check_window.h"

#include "session/catalogue_check.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TCatalogueCheckForm::TCatalogueCheckForm(QWidget* parent) : QDialog(parent)
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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CountsLabel);
    layout->addWidget(ReportMemo, 1);
    layout->addWidget(buttons);
    resize(640, 400);
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
