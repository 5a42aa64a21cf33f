#pragma once

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QSpinBox;

// Edit > Preferences: the emulator command of Test Play, the Tiled command of
// Edit in Tiled, whether saves set the cartridge checksums and the memory
// bound of scripts. The caller reads the fields once it is accepted.
class TPreferencesForm : public QDialog {
    Q_OBJECT
public:
    explicit TPreferencesForm(QWidget* parent = nullptr);

    // Fills the fields and opens the dialog (window-modal).
    void showPreferences(const QString& emulatorCommand, bool fixChecksums, int scriptMemoryMiB);

    QLineEdit* EmulatorEdit = nullptr;
    QLineEdit* TiledEdit = nullptr;
    QSpinBox* ScriptMemoryBox = nullptr;
    QCheckBox* FixChecksumsBox = nullptr;
    QDialogButtonBox* Buttons = nullptr;
};
