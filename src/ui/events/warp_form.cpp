#include "ui/events/warp_form.h"

#include <QSpinBox>

TWarpForm::TWarpForm(const EventState& state, const EventPointer& pointer, QWidget* parent)
    : EventDialog(state, pointer, TEventData::Warp, QStringLiteral("Warp"), parent)
{
    WarpToSpin = addSpin(QStringLiteral("Warp To:"), "WarpToSpin", 0, 255, 0);
    MapSpin = addSpin(QStringLiteral("Map:"), "MapSpin", NoLimitMin, NoLimitMax, 1);
    MapBankSpin = addSpin(QStringLiteral("Map Bank:"), "MapBankSpin", 0, 255, 2);
    setTabOrder(WarpToSpin, MapBankSpin);
    setTabOrder(MapBankSpin, MapSpin);
    connect(WarpToSpin, &QSpinBox::valueChanged, this, &TWarpForm::WarpToSpinChange);
    connect(MapBankSpin, &QSpinBox::valueChanged, this, &TWarpForm::MapBankSpinChange);
    connect(MapSpin, &QSpinBox::valueChanged, this, &TWarpForm::MapSpinChange);
}

void TWarpForm::fill()
{
    setSpin(WarpToSpin, recordByte(2));
    setSpin(MapBankSpin, recordByte(3));
    setSpin(MapSpin, recordByte(4));
}
