#pragma once

#include <QObject>
#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class ZoomSetting;

// The "View" menu: zoom in, zoom out, actual size, and the zoom levels with
// a check mark on the current one.
class ViewMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to `bar` after `after` (at the end when null).
    ViewMenu(QMenuBar* bar, QAction* after, ZoomSetting& zoom, QObject* parent = nullptr);

    QMenu* View1 = nullptr;
    QAction* ZoomIn1 = nullptr;
    QAction* ZoomOut1 = nullptr;
    QAction* ActualSize1 = nullptr;
    std::array<QAction*, 5> levels{};   // Zoom25_1 ... Zoom400_1

private:
    void showZoom(int percent);

    ZoomSetting& m_zoom;
};
