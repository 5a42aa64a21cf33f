#include "ui/events/warp_form.h"

#include <QSpinBox>

TWarpForm::TWarpForm(const EventState& state, const EventPointer& pointer, QWidget* parent)
    : EventDialog(state, pointer, TEventData::Warp, QStringLiteral("Warp"), parent)
{
    WarpToSpin = addSpin(QStringLiteral("Warp To:"), "WarpToSpin", 0, 255, 0, 2);
    MapSpin = addSpin(QStringLiteral("Map:"), "MapSpin", NoLimitMin, NoLimitMax, 1, 4);
    MapBankSpin = addSpin(QStringLiteral("Map Bank:"), "MapBankSpin", 0, 255, 2, 3);
    setTabOrder(WarpToSpin, MapBankSpin);
    setTabOrder(MapBankSpin, MapSpin);
}
