#include "ui/main/preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
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
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Emulator command:"), EmulatorEdit);
    form->addRow(QString(), hint);
    form->addRow(QStringLiteral("Tiled command:"), TiledEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(FixChecksumsBox);
    layout->addStretch();
    layout->addWidget(Buttons);
}

void TPreferencesForm::showPreferences(const QString& emulatorCommand, bool fixChecksums)
{
    EmulatorEdit->setText(emulatorCommand);
    FixChecksumsBox->setChecked(fixChecksums);
    EmulatorEdit->setFocus();
    open();
}
