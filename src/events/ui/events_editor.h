#pragma once

#include "catalogue/editor_core.h"
#include "events/event_records.h"

#include <QObject>
#include <QPointer>
#include <memory>

class DrawingSurface;
class EventIcons;
class Prompts;
class QAction;
class QLabel;
class QMouseEvent;
class QScrollArea;
class QWidget;
class TEventBuilder;
class TPeopleForm;
class TSingpostForm;
class TWarpForm;

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
    QScrollArea* ScrollBox3 = nullptr;
    QLabel* SorryLabel = nullptr;
    QPointer<TWarpForm> WarpForm;
    QPointer<TSingpostForm> SingpostForm;
    QPointer<TPeopleForm> PeopleForm;
    QPointer<TEventBuilder> EventBuilder;

    void EventBoxMouseDown(QMouseEvent* event);
    void EventBoxMouseMove(QMouseEvent* event);
    void EventBoxMouseUp(QMouseEvent* event);

signals:
    void statusText(const QString& text);

private:
    // Shows the notice or the view and enables "Build Events..." for the working copy.
    void updatePage();
    // Every dialog enables its controls only while PickedEvent names one of its records.
    void updateDialogs();
    void showDialog(quint8 kind);
    // A drag step: the picked event moves to square (x, y); only the squares it
    // left and entered are redrawn.
    void dragTo(int x, int y);

    EditorCore& m_core;
    EventState& m_state;
    Prompts& m_prompts;
    QWidget* m_page;
    DrawingSurface* m_mapBox;
    QAction* m_buildEvents;
    std::unique_ptr<EventIcons> m_icons;
};
