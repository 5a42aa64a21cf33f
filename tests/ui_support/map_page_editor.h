#pragma once

// The main window shown and active on its Map page over the test catalogue,
// for tests that drive the map view with the mouse and keys.
#include "ui/main/main_form.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"
#include "ui_support/editor_fixture.h"

#include <QMouseEvent>
#include <QTabWidget>
#include <QtTest>

namespace mappage {

inline QPoint centre(int column, int row) { return QPoint(64 * column + 32, 64 * row + 32); }

inline void send(QWidget* view, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, buttons, {});
    QCoreApplication::sendEvent(view, &event);
}

struct Editor : EditorFixture {
    Editor()
    {
        openWithRom();
        form->TabbedNotebook1->setCurrentIndex(0);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    MapView* view() const { return form->mapPage->MapBox; }
    int cell(int column, int row) const { return state->map.MapBytes[size_t(row * state->core.map.MapWidth + column)]; }
};

} // namespace mappage
