#pragma once

#include "ui/events/event_pointer.h"

#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

class QSpinBox;
class QGridLayout;

// What the three event dialogs share: they edit the record that PickedEvent
// names when it is of their kind, fill their controls when they become active
// (filling never writes), and keep their controls disabled while PickedEvent
// names no record of their kind.
class EventDialog : public QWidget {
    Q_OBJECT
public:
    EventDialog(const EventState& state, const EventPointer& pointer, quint8 kind, const QString& word, QWidget* parent);

    // Caption "<word><Index>:" and the controls filled from the picked record.
    void FormActivate();
    // Enables the controls exactly while PickedEvent names a record of this kind.
    void updateEditable();
    bool editable() const;
    // Where a field's change goes (the editing session); nothing is stored without it.
    using Writer = std::function<void(TEventData event, int byte, int value)>;
    void setWriter(Writer writer) { m_writer = std::move(writer); }

protected:
    bool event(QEvent* e) override;
    // Fills the controls other than the spin boxes from the picked record
    // (m_filling is set meanwhile; the spin boxes are filled before).
    virtual void fill() {}
    // Byte `byte` of the picked record, 0 when there is none.
    int recordByte(int byte) const;
    // Stores the low 8 bits of `value` in byte `byte` of the picked record,
    // unless the controls are being filled or there is no such record.
    void write(int byte, int value);
    // A spin box named `name` with the range [min, max] in row `row` of the
    // grid, for byte `byte` of the record: filled from it, its changes written.
    QSpinBox* addSpin(const QString& label, const char* name, int min, int max, int row, int byte);

    const EventState& m_state;
    const EventPointer& m_pointer;
    QWidget* m_controls = nullptr;   // holds every control; disabled when there is nothing to edit
    QGridLayout* m_grid = nullptr;
    bool m_filling = false;

private:
    std::vector<std::pair<QSpinBox*, int>> m_spins;   // each spin box and its byte
    quint8 m_kind;
    QString m_word;
    Writer m_writer;
};

// A wide range stands for "no limit": any typed whole number is accepted,
// and its low 8 bits are stored.
inline constexpr int NoLimitMin = -2147483647;
inline constexpr int NoLimitMax = 2147483647;
