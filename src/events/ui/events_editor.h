#pragma once

#include "catalogue/editor_core.h"
#include "events/event_records.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class EventIcons;
class EventRenderer;
class EventView;
class ZoomSetting;
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
    // Draws a rectangle of the map (view pixels at a zoom) into a picture.
    using MapDrawing = std::function<void(QImage& target, QPoint at, const QRect& area, int zoom)>;
    // The map's size in pixels at 100 %.
    using MapSize = std::function<QSize()>;

    // Builds the Events page's controls inside `eventsPage`. The event view
    // shows the map drawn by `drawMap`, of the size `mapSize` gives.
    EventsEditor(EditorCore& core, EventState& state, Prompts& prompts, QWidget* eventsPage,
                 MapDrawing drawMap, MapSize mapSize, QAction* BuildEvents1, QObject* parent = nullptr);
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

signals:
    void statusText(const QString& text);

private:
    // Shows the notice or the view and enables "Build Events..." for the working copy.
    void updatePage();
    // Every dialog enables its controls only while PickedEvent names one of its records.
    void updateDialogs();
    void showDialog(quint8 kind);
    // A drag step: the picked event moves to square (x, y); only the squares it
    // left and entered are repainted.
    void dragTo(int x, int y);

    EditorCore& m_core;
    EventState& m_state;
    Prompts& m_prompts;
    QWidget* m_page;
    MapSize m_mapSize;
    QAction* m_buildEvents;
    std::unique_ptr<EventIcons> m_icons;
    std::unique_ptr<EventRenderer> m_renderer;
};
