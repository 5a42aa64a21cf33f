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

    void WarpToSpinChange(int value) { write(2, value); }
    void MapBankSpinChange(int value) { write(3, value); }
    void MapSpinChange(int value) { write(4, value); }

protected:
    void fill() override;
};
