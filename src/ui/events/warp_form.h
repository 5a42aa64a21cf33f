#pragma once

#include "ui/events/event_dialog.h"

class QSpinBox;

// The warp dialog: edits bytes 2 to 4 of the picked warp.
class TWarpForm : public EventDialog {
    Q_OBJECT
public:
    TWarpForm(const EventState& state, const EventPointer& pointer, QWidget* parent = nullptr);

    QSpinBox* WarpToSpin = nullptr;
    QSpinBox* MapSpin = nullptr;
    QSpinBox* MapBankSpin = nullptr;
};
