#pragma once

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;

// Edit > Preferences: the emulator command of Test Play, the Tiled command of
// Edit in Tiled and whether saves set the cartridge checksums. The caller reads the fields once it is accepted.
class TPreferencesForm : public QDialog {
    Q_OBJECT
public:
    explicit TPreferencesForm(QWidget* parent = nullptr);

    // Fills the fields and opens the dialog (window-modal).
    void showPreferences(const QString& emulatorCommand, bool fixChecksums);

    QLineEdit* EmulatorEdit = nullptr;
    QLineEdit* TiledEdit = nullptr;
    QCheckBox* FixChecksumsBox = nullptr;
    QDialogButtonBox* Buttons = nullptr;
};
