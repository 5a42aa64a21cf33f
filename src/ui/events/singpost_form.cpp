#include "ui/events/singpost_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QSpinBox>

TSingpostForm::TSingpostForm(const EventState& state, const EventPointer& pointer, QWidget* parent)
    : EventDialog(state, pointer, TEventData::Singpost, QStringLiteral("Singpost"), parent)
{
    TextBlockSpin = addSpin(QStringLiteral("Text Block:"), "TextBlockSpin", NoLimitMin, NoLimitMax, 0, 3);
    TextBankSpin = addSpin(QStringLiteral("Text Bank:"), "TextBankSpin", NoLimitMin, NoLimitMax, 1, 4);
    HiddenCheck = new QCheckBox(QStringLiteral("Hidden Item"), m_controls);
    HiddenCheck->setObjectName(QStringLiteral("HiddenCheck"));
    m_grid->addWidget(HiddenCheck, 2, 0, 1, 2);
    connect(HiddenCheck, &QCheckBox::clicked, this, [this](bool checked) { write(2, checked ? 7 : 0); });
}

void TSingpostForm::fill()
{
    HiddenCheck->setChecked(recordByte(2) != 0);
}
