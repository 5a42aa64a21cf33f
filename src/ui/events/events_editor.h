#pragma once

#include "ui/events/event_pointer.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class EditorSession;
class EventIcons;
class EventRenderer;
class EventView;
class ZoomSetting;
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
    // Draws a rectangle of the map (view pixels at a zoom) into a picture.
    using MapDrawing = std::function<void(QImage& target, QPoint at, const QRect& area, int zoom)>;
    // The map's size in pixels at 100 %.
    using MapSize = std::function<QSize()>;

    // Builds the Events page's controls inside `eventsPage`. The event view
    // shows the map drawn by `drawMap`, of the size `mapSize` gives. The
    // page follows the session's map pick, event changes and map changes.
    EventsEditor(EditorSession& session, QWidget* eventsPage, MapDrawing drawMap, MapSize mapSize,
                 QObject* parent = nullptr);
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

    EventView* EventBox = nullptr;
    QScrollArea* ScrollBox3 = nullptr;
    QLabel* SorryLabel = nullptr;
    QPointer<TWarpForm> WarpForm;
    QPointer<TSingpostForm> SingpostForm;
    QPointer<TPeopleForm> PeopleForm;
    QPointer<TEventBuilder> EventBuilder;

    // Pointer handlers of the event view, in squares.
    void EventBoxMouseDown(QPoint square, Qt::MouseButton button);
    void EventBoxMouseMove(QPoint square);
    void EventBoxMouseUp();
    // The event view follows the zoom shared with the map view.
    void followZoom(ZoomSetting* zoom);
    // The event pressed on, hovered and dragged.
    const EventPointer& pointer() const { return m_pointer; }

signals:
    void statusText(const QString& text);

private:
    // Shows the notice or the view for the working copy.
    void updatePage();
    // Every dialog enables its controls only while PickedEvent names one of its records.
    void updateDialogs();
    void showDialog(quint8 kind);
    // A drag step: only the squares the event left and entered are repainted.
    void showMove(int fromX, int fromY, int toX, int toY);
    // A painted cell: the squares over it are repainted.
    void showCell(int cell);

    EditorSession& m_session;
    EventState& m_state;
    EventPointer m_pointer;
    QWidget* m_page;
    MapSize m_mapSize;
    bool m_writing = false;   // a dialog's own change: its controls keep what was typed
    std::unique_ptr<EventIcons> m_icons;
    std::unique_ptr<EventRenderer> m_renderer;
};
