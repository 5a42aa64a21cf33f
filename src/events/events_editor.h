#pragma once

#include "catalogue/editor_core.h"
#include "events/event_records.h"

#include <QObject>

class DrawingSurface;
class Prompts;
class QAction;
class QWidget;

// The events module as the main window sees it: the Events page (SorryLabel,
// ScrollBox3 with the event view EventBox), the three event dialogs and the
// event builder.
class EventsEditor : public QObject {
    Q_OBJECT
public:
    // Builds the Events page's controls inside `eventsPage`. `mapBox` is the
    // map view whose surface the event view copies as its background.
    EventsEditor(EditorCore& core, EventState& state, Prompts& prompts, QWidget* eventsPage,
                 DrawingSurface* mapBox, QAction* BuildEvents1, QObject* parent = nullptr);
    ~EventsEditor() override;

    // Creates TWarpForm, TSingpostForm, TPeopleForm and TEventBuilder, in this order.
    void createWindows();

    void LoadEvents();   // map pick (after resetPick), SaveEvents, the event builder
    // A map pick: PickedEvent names no event, so open dialogs edit nothing.
    void resetPick();
    void SaveEvents();   // Save Rom, Save Rom As
    void DrawEvents();
    void TabbedNotebook1Change(int newTab);
    void BuildEvents1Click();
    // A new ROM image was loaded or no map is current.
    void clearMap();

    DrawingSurface* EventBox = nullptr;

signals:
    void statusText(const QString& text);
};
