// The event view on the largest map, on the demo cartridge: full-window
// repaints at 100 % and 25 % and a drag step, each beside a memcpy of as many
// pixels. Run from a Release build; it runs without a display.
#include "bench_field.h"
#include "bench_window.h"
#include "silent_prompts.h"

#include "session/editor_state.h"
#include "ui/main/main_form.h"
#include "ui/events/event_view.h"
#include "ui/events/events_editor.h"
#include "widgets/zoom_setting.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!bench::writeBenchField(dir.path()))
        return 1;

    bench::BenchWindow shown;
    if (!shown.open(dir.path()))
        return 1;
    EditorState& state = *shown.state;
    TMainForm& form = *shown.form;
    form.show();
    if (!shown.pickField()) {
        std::fprintf(stderr, "The benchmark map was refused\n");
        return 1;
    }
    form.TabbedNotebook1->setCurrentIndex(1);
    QScrollArea* scroll = form.events->ScrollBox3;
    form.resize(form.size() + QSize(1280, 1024) - scroll->viewport()->size());
    app.processEvents();
    const QSize viewport = scroll->viewport()->size();
    std::printf("Events page, %d x %d block map, %d events, view %d x %d\n", bench::Side, bench::Side,
                state.events.WarpCount + state.events.SingpostCount + state.events.PeopleCount, viewport.width(),
                viewport.height());

    // A repaint of all that the view shows: its paint handler for the
    // visible rectangle, into a picture of the window's size.
    EventView* view = form.events->EventBox;
    QImage window(viewport, QImage::Format_RGB32);
    for (int zoom : {100, 25, 400}) {
        form.zoom->setPercent(zoom);
        app.processEvents();
        const QRect seen = view->visibleRegion().boundingRect();
        const QByteArray what = QByteArray("full-window repaint at ") + QByteArray::number(zoom) + " %";
        bench::print(what.constData(), bench::measure(30, {}, [&] {
                         view->render(&window, QPoint(), QRegion(seen), QWidget::RenderFlags());
                     }), 8, qint64(seen.width()) * seen.height());
    }
    form.zoom->actualSize();
    app.processEvents();

    // Drag steps: warp 1 from square (0, 0) along a path that crosses the
    // rows of events now and then; each step repaints what it changed.
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(view->mapToGlobal(at)), button, buttons, {});
        QCoreApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, QPoint(16, 16), Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    const auto drag = [&] {
        const QPoint at(16 + (step * 32) % 1280, 16 + ((step / 40) * 32 + (step % 7) * 32) % 1024);
        ++step;
        send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        app.processEvents();
    };
    bench::print("event drag step (handler and repaint)", bench::measure(2000, {}, drag), 1, 2 * 32 * 32);
    send(QEvent::MouseButtonRelease, QPoint(16, 16), Qt::LeftButton, Qt::NoButton);
    return 0;
}
