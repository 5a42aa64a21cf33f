// Measures start-up: from the application object to a shown main window with
// the demo ROM image loaded, as "kartola demo.gbc" does.
// Usage: bench_startup [PROGRAM_DIR]   (default: the folder of this program)
// Runs without a display unless QT_QPA_PLATFORM names another platform.
#include "session/editor_state.h"
#include "ui/main/main_form.h"
#include "widgets/qt_prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer timer;
    timer.start();
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    const qint64 appReady = timer.elapsed();

    EditorState state(dir);
    QtPrompts prompts;
    TMainForm form(state, prompts);
    prompts.setOwner(&form);
    form.show();
    form.loadRom(dir + QStringLiteral("/demo.gbc"));
    const qint64 created = timer.elapsed();

    qint64 shown = 0;
    QTimer::singleShot(0, &app, [&] {
        shown = timer.elapsed();
        app.quit();
    });
    app.exec();
    std::printf("application object: %lld ms\nmain window created, ROM loaded: %lld ms\nfirst event loop turn (window shown): %lld ms\n",
                static_cast<long long>(appReady), static_cast<long long>(created), static_cast<long long>(shown));
    std::printf("start-up to a shown window: target < 200 ms  %s\n", shown < 200 ? "ok" : "SLOW");
    return 0;
}
