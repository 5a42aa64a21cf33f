#include "ui/events/people_form.h"

#include "base/ini_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

TPeopleForm::TPeopleForm(const EventState& state, const EventPointer& pointer, const IniFile& eventsIni, QWidget* parent)
    : EventDialog(state, pointer, TEventData::People, QStringLiteral("People"), parent)
{
    PictureSpin = addSpin(QStringLiteral("Picture Number:"), "PictureSpin", 0, 255, 0, 0);
    FaceSpin = addSpin(QStringLiteral("Facing:"), "FaceSpin", 0, 255, 1, 3);
    MoveSpin = addSpin(QStringLiteral("Movement:"), "MoveSpin", 0, 255, 2, 4);
    FuncSpin = addSpin(QStringLiteral("Function:"), "FuncSpin", 0, 255, 3, 7);
    TextBlockSpin = addSpin(QStringLiteral("Text Block:"), "TextBlockSpin", 0, 255, 4, 9);
    TextBankSpin = addSpin(QStringLiteral("Text Bank:"), "TextBankSpin", 0, 255, 5, 10);
    HiddenCheck = new QCheckBox(QStringLiteral("Hidden"), m_controls);
    HiddenCheck->setObjectName(QStringLiteral("HiddenCheck"));
    m_grid->addWidget(HiddenCheck, 6, 0, 1, 2);
    m_grid->addWidget(new QLabel(QStringLiteral("This people is shown/hidden when/if:"), m_controls), 7, 0, 1, 2);
    WhenBox = new QComboBox(m_controls);
    WhenBox->setObjectName(QStringLiteral("WhenBox"));
    WhenBox->setEnabled(false);
    m_grid->addWidget(WhenBox, 8, 0, 1, 2);
    Unk1Spin = addSpin(QStringLiteral("Unknown1:"), "Unk1Spin", 0, 255, 9, 5);
    Unk2Spin = addSpin(QStringLiteral("Unknown2:"), "Unk2Spin", 0, 255, 10, 6);
    Unk3Spin = addSpin(QStringLiteral("Unknown3:"), "Unk3Spin", 0, 255, 11, 8);

    FormCreate(eventsIni);

    connect(HiddenCheck, &QCheckBox::clicked, this, &TPeopleForm::HiddenCheckClick);
    connect(WhenBox, &QComboBox::currentIndexChanged, this, &TPeopleForm::WhenBoxChange);
}

void TPeopleForm::FormCreate(const IniFile& eventsIni)
{
    QStringList entries;
    for (int n = 0; n <= 255; ++n) {
        const QString text = eventsIni.readString(QStringLiteral("Hidden/shown"), QString::number(n));
        entries << (text.isEmpty() ? QString::number(n) : text);
    }
    WhenBox->addItems(entries);
    WhenBox->setCurrentIndex(-1);   // nothing selected until a person asks for it
}

int TPeopleForm::whenValue() const
{
    const int index = WhenBox->currentIndex();
    return index < 0 ? 255 : index;
}

void TPeopleForm::HiddenCheckClick(bool checked)
{
    if (m_filling || !editable())
        return;
    if (checked) {
        write(12, 6);
        write(11, whenValue());
    } else {
        write(11, 255);
        write(12, 255);
    }
    WhenBox->setEnabled(checked);
}

void TPeopleForm::WhenBoxChange(int)
{
    write(11, whenValue());
}

void TPeopleForm::fill()
{
    if (recordByte(12) == 6) {
        WhenBox->setCurrentIndex(recordByte(11));
        WhenBox->setEnabled(true);
        HiddenCheck->setChecked(true);
    } else {
        HiddenCheck->setChecked(false);
        WhenBox->setEnabled(false);
    }
}
