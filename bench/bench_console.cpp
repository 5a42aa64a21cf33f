// The Script Console on the largest map, as a user types into it: from
// Return on a line that changes one block of the map shown to that block
// painted, the line run in a process of its own as the program runs it (the
// process started ahead, while the line is typed). Needs the program beside
// this one; runs without a display.
#include "bench_field.h"
#include "bench_window.h"

#include "script/script_job.h"
#include "session/editor_state.h"
#include "ui/main/main_form.h"
#include "ui/main/script_commands.h"
#include "ui/main/script_console.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTabWidget>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>

namespace {

// Counts the paint events a widget gets.
class PaintCount : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptJob::runInProcesses(QCoreApplication::applicationDirPath() + QStringLiteral("/kartola"));
    QTemporaryDir dir;
    if (!bench::writeBenchField(dir.path()))
        return 1;
    bench::BenchWindow shown;
    if (!shown.open(dir.path()))
        return 1;
    EditorState& state = *shown.state;
    TMainForm& form = *shown.form;
    if (!shown.pickField()) {
        std::fprintf(stderr, "The benchmark map was refused\n");
        return 1;
    }
    form.TabbedNotebook1->setCurrentIndex(0);   // the map page
    ScriptConsole* console = form.scripts->console;
    console->show();
    app.processEvents();
    PaintCount paints;
    form.mapPage->MapBox->installEventFilter(&paints);


    // A loop of its own: the application's quit would close the window.
    const auto wait = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    int block = 1;
    const bench::Figures line = bench::measure(
        15,
        [&] {
            block = block % 3 + 1;
            console->Input->setText(
                QStringLiteral("map('%1').setBlock(0, 0, %2)").arg(bench::Map).arg(block));
            wait(400);   // the line typed, the process for it started
            paints.count = 0;
        },
        [&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(console->Input, &press);
            while (!(state.map.MapBytes[0] == quint8(block) && paints.count > 0))
                app.processEvents(QEventLoop::WaitForMoreEvents);
        });
    bench::printSpread("console line to its block painted", line, 50);
    return 0;
}
