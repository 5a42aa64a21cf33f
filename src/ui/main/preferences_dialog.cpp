#include "ui/main/preferences_dialog.h"

#include "session/user_settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

TPreferencesForm::TPreferencesForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PreferencesForm"));
    setWindowTitle(QStringLiteral("Preferences"));
    EmulatorEdit = new QLineEdit(this);
    EmulatorEdit->setObjectName(QStringLiteral("EmulatorEdit"));
    EmulatorEdit->setPlaceholderText(QStringLiteral("mgba-qt %f"));
    EmulatorEdit->setMinimumWidth(320);
    auto* hint = new QLabel(QStringLiteral("The program and its arguments; %f stands for the image file.\n"
                                           "For example: mgba-qt %f"),
                            this);
    hint->setObjectName(QStringLiteral("EmulatorHint"));
    TiledEdit = new QLineEdit(this);
    TiledEdit->setObjectName(QStringLiteral("TiledEdit"));
    TiledEdit->setPlaceholderText(QStringLiteral("tiled %f"));
    FixChecksumsBox = new QCheckBox(QStringLiteral("Set the header and global checksums when the image is saved"), this);
    FixChecksumsBox->setObjectName(QStringLiteral("FixChecksumsBox"));
    ScriptMemoryBox = new QSpinBox(this);
    ScriptMemoryBox->setObjectName(QStringLiteral("ScriptMemoryBox"));
    ScriptMemoryBox->setRange(UserSettings::MinScriptMemoryMiB, UserSettings::MaxScriptMemoryMiB);
    ScriptMemoryBox->setSuffix(QStringLiteral(" MiB"));
    ScriptMemoryBox->setToolTip(QStringLiteral("A script that takes more memory ends with \"out of memory\"."));
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Emulator command:"), EmulatorEdit);
    form->addRow(QString(), hint);
    form->addRow(QStringLiteral("Tiled command:"), TiledEdit);
    form->addRow(QStringLiteral("Script memory:"), ScriptMemoryBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(FixChecksumsBox);
    layout->addStretch();
    layout->addWidget(Buttons);
}

void TPreferencesForm::showPreferences(const QString& emulatorCommand, bool fixChecksums, int scriptMemoryMiB)
{
    EmulatorEdit->setText(emulatorCommand);
    FixChecksumsBox->setChecked(fixChecksums);
    ScriptMemoryBox->setValue(scriptMemoryMiB);
    EmulatorEdit->setFocus();
    open();
}
