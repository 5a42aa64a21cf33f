#include "widgets/edit_spin_box.h"

#include <QLineEdit>
#include <limits>

EditSpinBox::EditSpinBox(int lower, int upper, bool typeBeyond, QWidget* parent)
    : QSpinBox(parent), m_lower(lower), m_upper(upper)
{
    if (typeBeyond)
        setRange(std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max());
    else
        setRange(lower, upper);
    connect(lineEdit(), &QLineEdit::textEdited, this, &EditSpinBox::textEdited);
}

void EditSpinBox::showValue(int value)
{
    setValue(qBound(m_lower, value, m_upper));
}

void EditSpinBox::stepBy(int steps)
{
    // The arrows never leave the bounds, whatever may be typed.
    const qint64 next = qBound(qint64(m_lower), qint64(value()) + steps, qint64(m_upper));
    setValue(int(next));
    selectAll();
}

void EditSpinBox::textEdited(const QString&)
{
    bool whole = false;
    cleanText().toInt(&whole);
    if (whole)
        return;
    // Not a whole number: the box reads as its lower bound, while the text
    // being typed stays as it is.
    const QString typed = lineEdit()->text();
    const int cursor = lineEdit()->cursorPosition();
    setValue(m_lower);
    lineEdit()->setText(typed);
    lineEdit()->setCursorPosition(cursor);
}

void EditSpinBox::focusOutEvent(QFocusEvent* event)
{
    QSpinBox::focusOutEvent(event);
    if (value() < m_lower || value() > m_upper)
        showValue(value());
}
