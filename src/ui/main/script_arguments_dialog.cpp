#include "ui/main/script_arguments_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

ScriptArgumentsDialog::ScriptArgumentsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ScriptArgumentsForm"));
    auto* layout = new QVBoxLayout(this);
    m_form = new QFormLayout;
    layout->addLayout(m_form);
    Problem = new QLabel(this);
    Problem->setObjectName(QStringLiteral("ScriptArgumentsProblem"));
    Problem->hide();
    layout->addWidget(Problem);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(Buttons, &QDialogButtonBox::accepted, this, &ScriptArgumentsDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(Buttons);
}

void ScriptArgumentsDialog::ask(const QString& name, const QList<ScriptArgument>& arguments, const QStringList& values)
{
    setWindowTitle(QStringLiteral("Run Script %1").arg(name));
    while (m_form->rowCount() > 0)
        m_form->removeRow(0);
    Fields.clear();
    m_arguments = arguments;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        auto* field = new QLineEdit(values.value(i), this);
        field->setObjectName(QStringLiteral("ScriptArgument%1").arg(i + 1));
        field->setMinimumWidth(240);
        m_form->addRow(arguments.at(i).label + QLatin1Char(':'), field);
        Fields << field;
    }
    Problem->hide();
    if (!Fields.isEmpty())
        Fields.constFirst()->setFocus();
    open();
}

QStringList ScriptArgumentsDialog::values() const
{
    QStringList list;
    for (const QLineEdit* field : Fields)
        list << field->text().trimmed();
    return list;
}

void ScriptArgumentsDialog::accept()
{
    const QStringList given = values();
    for (qsizetype i = 0; i < m_arguments.size(); ++i)
        if (!scriptArgumentFits(m_arguments.at(i).type, given.at(i))) {
            Problem->setText(QStringLiteral("%1 must be a number.").arg(m_arguments.at(i).label));
            Problem->show();
            Fields.at(i)->setFocus();
            return;
        }
    QDialog::accept();
}
