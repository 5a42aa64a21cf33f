// The map page on the largest map, on the demo cartridge: the map pick, the
// memory it takes, full-window repaints at 100 % and 25 %, a paint step and
// Save Map Picture, each beside a memcpy of as many pixels. Run from a
// Release build; it runs without a display.
#include "bench_field.h"
#include "silent_prompts.h"

#include "app/editor_state.h"
#include "app/ui/main_form.h"
#include "map/map_renderer.h"
#include "map/ui/map_page.h"
#include "map/ui/map_view.h"
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

    EditorState state(dir.path());
    SilentPrompts prompts;
    TMainForm form(state, prompts);
    if (!form.loadRom(dir.filePath(QStringLiteral("demo.gbc"))))
        return 1;
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

    // The map pick, from the record to the views painted. Another map is
    // picked before each run; the first run also builds the tileset.
    form.MainBox->setCurrentIndex(form.MainBox->findText(bench::Category));
    form.MainBoxClick();
    const QString other = IniFile(dir.filePath(QStringLiteral("Main.Ini")))
                              .readString(form.MainBox->itemText(0), QStringLiteral("1"));
    const auto pickOther = [&] {
        form.SubBox->setEditText(other);
        app.processEvents();
    };
    const auto pickBig = [&] {
        form.SubBox->setEditText(bench::Map);
        app.processEvents();
    };
    bench::print("map pick, first (tileset built)", bench::measure(1, {}, pickBig), 50, windowPixels);
    const bench::Figures pick = bench::measure(9, pickOther, pickBig);
    bench::printMemory("memory with the map picked", 100);
    bench::print("map pick", pick, 50, windowPixels);

    MapView* view = form.mapPage->MapBox;
    scroll->horizontalScrollBar()->setValue(1000);
    scroll->verticalScrollBar()->setValue(1000);
    for (int zoom : {100, 25, 400}) {
        form.zoom->setPercent(zoom);
        app.processEvents();
        const QByteArray what = QByteArray("full-window repaint at ") + QByteArray::number(zoom) + " %";
        bench::print(what.constData(), bench::measure(30, {}, [&] { scroll->viewport()->repaint(); }), 8,
                     windowPixels);
    }
    form.zoom->actualSize();
    app.processEvents();

    // Paint steps: moves with the left button held over the cells in sight.
    state.map.SelectedBlock = 5;
    const QPoint origin = view->mapFrom(scroll->viewport(), QPoint(0, 0));
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(view->mapToGlobal(at)), button, buttons, {});
        QCoreApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, origin + QPoint(32, 32), Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    const auto move = [&] {
        const QPoint at = origin + QPoint(64 * (step % 16) + 20, 64 * ((step / 16) % 12) + 20);
        ++step;
        send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        app.processEvents();
    };
    bench::print("paint step (handler and repaint)", bench::measure(2000, {}, move), 0.05, 64 * 64);
    send(QEvent::MouseButtonRelease, origin + QPoint(32, 32), Qt::LeftButton, Qt::NoButton);

    const QString picture = dir.filePath(QStringLiteral("map.DIB"));
    QString error;
    bench::print("Save Map Picture", bench::measure(5, {}, [&] { form.mapPage->renderer().writePicture(picture, &error); }),
                 300, qint64(bench::Side) * 64 * bench::Side * 64);
    return 0;
}
