#pragma once

#include "session/editor_core.h"
#include "model/events/event_records.h"

#include <QWidget>
#include <functional>

class Prompts;
class QLabel;
class QPushButton;
class QSpinBox;

// "Build Events": rewrites the current map's three event tables as one packed
// block of new events with the chosen counts, records the new counts and
// offsets in Events.ini and reloads the map's events.
class TEventBuilder : public QWidget {
    Q_OBJECT
public:
    // `reload` reads the map's events again and redraws them (LoadEvents).
    TEventBuilder(EditorCore& core, EventState& state, Prompts& prompts, std::function<void()> reload,
                  QWidget* parent = nullptr);

    QSpinBox* WarpNum = nullptr;
    QSpinBox* SingNum = nullptr;
    QSpinBox* PeopNum = nullptr;
    QLabel* Need = nullptr;
    QLabel* Avail = nullptr;
    QPushButton* Button1 = nullptr;

    void FormShow();
    void WarpNumChange();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    EditorCore& m_core;
    EventState& m_state;
    Prompts& m_prompts;
    std::function<void()> m_reload;
};
