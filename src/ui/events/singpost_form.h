#pragma once

#include "ui/events/event_dialog.h"

class QCheckBox;
class QSpinBox;

// The signpost dialog: text block and bank, and the hidden-item byte
// (ticking writes 7, clearing 0; any non-zero byte shows ticked).
class TSingpostForm : public EventDialog {
    Q_OBJECT
public:
    TSingpostForm(const EventState& state, const EventPointer& pointer, QWidget* parent = nullptr);

    QSpinBox* TextBlockSpin = nullptr;
    QSpinBox* TextBankSpin = nullptr;
    QCheckBox* HiddenCheck = nullptr;

protected:
    void fill() override;
};
