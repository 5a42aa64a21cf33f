#pragma once

#include "ui/events/event_dialog.h"

class IniFile;
class QCheckBox;
class QComboBox;
class QSpinBox;

// The person dialog. "Hidden" ticked means byte 12 holds 6 and byte 11 the
// WhenBox entry (255 when none is selected); cleared, both hold 255.
class TPeopleForm : public EventDialog {
    Q_OBJECT
public:
    // Fills WhenBox once from section "Hidden/shown" of `eventsIni`.
    TPeopleForm(const EventState& state, const EventPointer& pointer, const IniFile& eventsIni, QWidget* parent = nullptr);

    QSpinBox* PictureSpin = nullptr;
    QSpinBox* FaceSpin = nullptr;
    QSpinBox* MoveSpin = nullptr;
    QSpinBox* FuncSpin = nullptr;
    QSpinBox* TextBlockSpin = nullptr;
    QSpinBox* TextBankSpin = nullptr;
    QCheckBox* HiddenCheck = nullptr;
    QComboBox* WhenBox = nullptr;
    QSpinBox* Unk1Spin = nullptr;
    QSpinBox* Unk2Spin = nullptr;
    QSpinBox* Unk3Spin = nullptr;

    void HiddenCheckClick(bool checked);
    void WhenBoxChange(int index);

protected:
    void fill() override;

private:
    void FormCreate(const IniFile& eventsIni);
    int whenValue() const;
};
