#include "ui/events/event_dialog.h"

#include "model/events/event_tables.h"
#include "widgets/edit_spin_box.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

EventDialog::EventDialog(const EventState& state, const EventPointer& pointer, quint8 kind, const QString& word, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_state(state), m_pointer(pointer), m_kind(kind), m_word(word)
{
    setWindowTitle(word);
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    m_controls = new QWidget(this);
    m_grid = new QGridLayout(m_controls);
    m_grid->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_controls);
    m_controls->setEnabled(false);
}

bool EventDialog::editable() const
{
    return m_pointer.PickedEvent.Kind == m_kind && isEventRecord(m_state, m_pointer.PickedEvent);
}

void EventDialog::updateEditable()
{
    m_controls->setEnabled(editable());
}

void EventDialog::FormActivate()
{
    updateEditable();
    if (!editable())
        return;
    setWindowTitle(m_word + QString::number(m_pointer.PickedEvent.Index) + QLatin1Char(':'));
    m_filling = true;
    for (const auto& [spin, byte] : m_spins)
        spin->setValue(recordByte(byte));
    fill();
    m_filling = false;
}

bool EventDialog::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(e);
}

int EventDialog::recordByte(int byte) const
{
    return qMax(0, eventByte(m_state, m_pointer.PickedEvent, byte));
}

void EventDialog::write(int byte, int value)
{
    if (m_filling || !editable() || !m_writer)
        return;
    m_writer(m_pointer.PickedEvent, byte, value);
}

QSpinBox* EventDialog::addSpin(const QString& label, const char* name, int min, int max, int row, int byte)
{
    auto* spin = new EditSpinBox(min, max, false, m_controls);
    spin->setObjectName(QLatin1String(name));
    auto* caption = new QLabel(label, m_controls);
    caption->setBuddy(spin);
    m_grid->addWidget(caption, row, 0);
    m_grid->addWidget(spin, row, 1);
    m_spins.emplace_back(spin, byte);
    connect(spin, &QSpinBox::valueChanged, this, [this, byte](int value) { write(byte, value); });
    return spin;
}
