#include "ui/events/singpost_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QSpinBox>

TSingpostForm::TSingpostForm(const EventState& state, const EventPointer& pointer, QWidget* parent)
    : EventDialog(state, pointer, TEventData::Singpost, QStringLiteral("Singpost"), parent)
{
    TextBlockSpin = addSpin(QStringLiteral("Text Block:"), "TextBlockSpin", NoLimitMin, NoLimitMax, 0);
    TextBankSpin = addSpin(QStringLiteral("Text Bank:"), "TextBankSpin", NoLimitMin, NoLimitMax, 1);
    HiddenCheck = new QCheckBox(QStringLiteral("Hidden Item"), m_controls);
    HiddenCheck->setObjectName(QStringLiteral("HiddenCheck"));
    m_grid->addWidget(HiddenCheck, 2, 0, 1, 2);
    connect(TextBlockSpin, &QSpinBox::valueChanged, this, &TSingpostForm::TextBlockSpinChange);
    connect(TextBankSpin, &QSpinBox::valueChanged, this, &TSingpostForm::TextBankSpinChange);
    connect(HiddenCheck, &QCheckBox::clicked, this, &TSingpostForm::HiddenCheckClick);
}

void TSingpostForm::fill()
{
    setSpin(TextBlockSpin, recordByte(3));
    setSpin(TextBankSpin, recordByte(4));
    HiddenCheck->setChecked(recordByte(2) != 0);
}
