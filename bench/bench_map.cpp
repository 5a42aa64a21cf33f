// The map page on the largest map, on the demo cartridge: the map pick, the
// memory it takes, full-window repaints at 100 % and 25 %, a paint step and
// Save Map Picture, each beside a memcpy of as many pixels. Run from a
// Release build; it runs without a display.
#include "bench_field.h"
#include "bench_window.h"
#include "silent_prompts.h"

#include "session/editor_session.h"
#include "session/editor_state.h"
#include "ui/main/main_form.h"
#include "model/map/map_renderer.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"
#include "widgets/zoom_setting.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
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
    form.TabbedNotebook1->setCurrentIndex(0);
    form.show();
    // The map view's viewport is made 1280 x 1024.
    QScrollArea* scroll = form.mapPage->ScrollBox1;
    form.resize(form.size() + QSize(1280, 1024) - scroll->viewport()->size());
    app.processEvents();
    const QSize viewport = scroll->viewport()->size();
    const qint64 windowPixels = qint64(viewport.width()) * viewport.height();
    std::printf("Map page, %d x %d block map, view %d x %d\n", bench::Side, bench::Side, viewport.width(),
                viewport.height());

    MapView* view = form.mapPage->MapBox;
    // The map pick, from the record to the views painted. Another map is
    // picked before each run; the first run also builds the tileset.
    form.MainBox->setCurrentIndex(form.MainBox->findText(bench::Category));
    form.MainBoxClick();
    const QString other = state.core.catalogue.MapsIni.sections().first();
    const auto pickOther = [&] {
        form.pickMap(other, true);
        app.processEvents();
    };
    const auto pickBig = [&] {
        form.pickMap(bench::Map, true);
        app.processEvents();
    };
    const QString refusal = form.session->pickMap(bench::Map).outcome.refusal;
    if (!refusal.isEmpty() || state.core.map.name != bench::Map) {
        std::fprintf(stderr, "The benchmark map was refused: %s\n", qPrintable(refusal));
        return 1;
    }
    pickOther();
    std::printf("(the first pick of the map, with its tileset built, came before)\n");
    const bench::Figures pick = bench::measure(9, pickOther, pickBig);
    bench::printMemory("memory with the map picked", 100);
    bench::print("map pick", pick, 50, windowPixels);

    // A repaint of all that the view shows: its paint handler for the
    // visible rectangle, into a picture of the window's size.
    QImage window(viewport, QImage::Format_RGB32);
    for (int zoom : {100, 25, 400}) {
        form.zoom->setPercent(zoom);
        scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum() / 3);
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum() / 3);
        app.processEvents();
        const QRect seen = view->visibleRegion().boundingRect();
        const QByteArray what = QByteArray("full-window repaint at ") + QByteArray::number(zoom) + " %";
        bench::print(what.constData(), bench::measure(30, {}, [&] {
                         view->render(&window, QPoint(), QRegion(seen), QWidget::RenderFlags());
                     }), 8, qint64(seen.width()) * seen.height());
    }
    form.zoom->actualSize();
    app.processEvents();

    // Paint steps: moves with the left button held over the cells in sight.
    const QPoint origin = view->mapFrom(scroll->viewport(), QPoint(0, 0));
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(view->mapToGlobal(at)), button, buttons, {});
        QCoreApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, origin + QPoint(32, 32), Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    const auto move = [&] {
        // Every step changes its cell: each pass over the cells paints another block.
        if (step % 192 == 0)
            form.session->stamp().setSelectedBlock(5 + (step / 192) % 2);
        const QPoint at = origin + QPoint(64 * (step % 16) + 20, 64 * ((step / 16) % 12) + 20);
        ++step;
        send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        app.processEvents();
    };
    bench::print("paint step (handler and repaint)", bench::measure(2000, {}, move), 0.03, 64 * 64);
    send(QEvent::MouseButtonRelease, origin + QPoint(32, 32), Qt::LeftButton, Qt::NoButton);
    step = 0;
    bench::print("  a hover step (read-out only)", bench::measure(2000, {}, [&] {
                     const QPoint at = origin + QPoint(64 * (step % 16) + 20, 64 * ((step / 16) % 12) + 20);
                     ++step;
                     send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
                     app.processEvents();
                 }), 0.05, 0);
    // The read-out panel alone: a new text of a read-out's length and its repaint.
    step = 0;
    bench::print("  of which the status read-out", bench::measure(2000, {}, [&] {
                     ++step;
                     form.setStatusText(QStringLiteral("X: %1 Y: %2 Block: 0%3 Offset: 2A%4").arg(step % 16).arg(step % 12)
                                            .arg(step % 10).arg(step % 100, 2, 10, QLatin1Char('0')));
                     app.processEvents();
                 }), 0.05, 0);
    send(QEvent::MouseButtonPress, origin + QPoint(32, 32), Qt::LeftButton, Qt::LeftButton);
    bench::print("  of which an idle turn of the event loop", bench::measure(2000, {}, [&] { app.processEvents(); }),
                 0.05, 0);
    step = 0;
    bench::print("  of which the handler", bench::measure(2000, {}, [&] {
                     const QPoint at = origin + QPoint(64 * (step % 16) + 20, 64 * ((step / 16) % 12) + 20);
                     ++step;
                     send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
                 }), 0.05, 0);
    app.processEvents();
    const QRect cell(origin + QPoint(64, 64), QSize(64, 64));
    bench::print("  of which Qt's repaint of one cell", bench::measure(2000, {}, [&] {
                     view->update(QRect(view->mapFrom(scroll->viewport(), QPoint(64, 64)), QSize(64, 64)));
                     app.processEvents();
                 }), 0.05, 64 * 64);
    bench::print("  of which the view's paint of one cell", bench::measure(2000, {}, [&] {
                     view->render(&window, QPoint(), QRegion(cell), QWidget::RenderFlags());
                 }), 0.05, 64 * 64);
    send(QEvent::MouseButtonRelease, origin + QPoint(32, 32), Qt::LeftButton, Qt::NoButton);

    const QString picture = dir.filePath(QStringLiteral("map.DIB"));
    QString error;
    bench::print("Save Map Picture", bench::measure(5, {}, [&] { form.mapPage->renderer().writePicture(picture, &error); }),
                 300, qint64(bench::Side) * 64 * bench::Side * 64);
    return 0;
}
