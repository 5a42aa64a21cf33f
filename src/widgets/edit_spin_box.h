#pragma once

#include <QSpinBox>

// A spin box as the editor's value controls behave: a text that is not a
// whole number reads as the lower bound (and is reported as a change of
// value), and, where typing beyond the bounds is allowed, any typed number is
// taken as typed and brought into the bounds when the box loses the focus.
class EditSpinBox : public QSpinBox {
    Q_OBJECT
public:
    EditSpinBox(int lower, int upper, bool typeBeyond, QWidget* parent = nullptr);

    int lowerBound() const { return m_lower; }
    int upperBound() const { return m_upper; }
    // Shows `value` brought into the bounds.
    void showValue(int value);
    void stepBy(int steps) override;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void textEdited(const QString& text);

    int m_lower;
    int m_upper;
};
