#pragma once

#include "events/event_records.h"

#include <QObject>
#include <QPointer>
#include <memory>

class DrawingSurface;
class EditorSession;
class EventIcons;
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
    // map view whose surface the event view copies as its background. The
    // page follows the session's map pick, event changes and map changes.
    EventsEditor(EditorSession& session, QWidget* eventsPage, DrawingSurface* mapBox, QObject* parent = nullptr);
    ~EventsEditor() override;

    // Creates TWarpForm, TSingpostForm, TPeopleForm and TEventBuilder, in this order.
    void createWindows();

    // Shows the working copy as it is: page, dialogs and picture.
    void showEvents();
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
    // Shows the notice or the view for the working copy.
    void updatePage();
    // Every dialog enables its controls only while PickedEvent names one of its records.
    void updateDialogs();
    void showDialog(quint8 kind);
    // A drag step: only the squares the event left and entered are redrawn.
    void showMove(int fromX, int fromY, int toX, int toY);

    EditorSession& m_session;
    EventState& m_state;
    QWidget* m_page;
    DrawingSurface* m_mapBox;
    bool m_writing = false;   // a dialog's own change: its controls keep what was typed
    std::unique_ptr<EventIcons> m_icons;
};
