// Times one drag step of an event on the event view of a 100 x 100 block map.
#include "silent_prompts.h"
#include "app/editor_session.h"
#include "catalogue/editor_core.h"
#include "events/event_tables.h"
#include "events/ui/events_editor.h"
#include "widgets/drawing_surface.h"
#include "widgets/prompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>

namespace {

void send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QFile ini(QDir(dir.path()).filePath(QStringLiteral("Events.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write("[Big]\nWarps=50\nWarp offset=256\nSingposts=50\nSingpost offset=1024\n"
              "Peoples=50\nPeople offset=2048\n");
    ini.close();

    EditorState editorState(dir.path());
    EditorCore& core = editorState.core;
    QByteArray rom(0x4000, '\0');
    for (int i = 0; i < 50; ++i) {   // warps along row 0, signposts along row 1, people along row 2
        rom[256 + i * 5] = 0;
        rom[256 + i * 5 + 1] = char(i);
        rom[1024 + i * 5] = 1;
        rom[1024 + i * 5 + 1] = char(i);
        rom[2048 + i * 13 + 1] = char(2 + 4);
        rom[2048 + i * 13 + 2] = char(i + 4);
    }
    core.rom.setBytes(rom);
    core.RomFileName = QStringLiteral("bench.gbc");
    core.map.name = QStringLiteral("Big");

    EventState& state = editorState.events;
    SilentPrompts prompts;
    EditorSession session(editorState, prompts);
    QWidget page;
    DrawingSurface mapBox;
    mapBox.setSurfaceSize(QSize(6400, 6400));
    mapBox.surface().fill(qRgb(40, 90, 160));
    EventsEditor editor(session, &page, &mapBox);
    editor.createWindows();
    loadEventTables(core.catalogue.EventsIni, core.map.name, core.rom, state);
    editor.showEvents();

    DrawingSurface* box = editor.EventBox;
    send(box, QEvent::MouseButtonPress, QPoint(16, 16), Qt::LeftButton, Qt::LeftButton);
    const int steps = 2000;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < steps; ++i) {
        // A path across the map that crosses the rows of events now and then.
        const QPoint p(16 + (i * 32) % 6400, 16 + ((i / 200) * 32 + (i % 7) * 32) % 6400);
        send(box, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    }
    const double perStep = double(timer.nsecsElapsed()) / steps / 1e6;
    send(box, QEvent::MouseButtonRelease, QPoint(16, 16), Qt::LeftButton, Qt::NoButton);

    timer.restart();
    const int full = 5;
    for (int i = 0; i < full; ++i)
        editor.DrawEvents();
    const double perFull = double(timer.nsecsElapsed()) / full / 1e6;
    std::printf("event drag step on a 100 x 100 map: %.4f ms (a full DrawEvents: %.2f ms)\n", perStep, perFull);
    return 0;
}
