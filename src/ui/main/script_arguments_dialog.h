#pragma once

#include "script/script_arguments.h"

#include <QDialog>
#include <QList>

class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;

// Asks the arguments a script declares before it runs: a field for each,
// labelled as declared, filled with the values given last. OK is refused
// while a number field holds no number.
class ScriptArgumentsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ScriptArgumentsDialog(QWidget* parent = nullptr);

    // Fills the fields for the script `name` and opens the dialog (window-modal).
    void ask(const QString& name, const QList<ScriptArgument>& arguments, const QStringList& values);
    // The values of the fields, in the order declared.
    QStringList values() const;

    void accept() override;

    QList<QLineEdit*> Fields;
    QLabel* Problem = nullptr;
    QDialogButtonBox* Buttons = nullptr;

private:
    QFormLayout* m_form = nullptr;
    QList<ScriptArgument> m_arguments;
};
