// Measures start-up: from the application object to a shown main window with
// the demo ROM image loaded, as "kartola demo.gbc" does; with a category and
// a map, as a start that brings the last session back (the category's map
// list filled, the map picked).
// Usage: bench_startup [PROGRAM_DIR [CATEGORY MAP]]   (default: the folder of
// this program, no session)
// Runs without a display unless QT_QPA_PLATFORM names another platform.
// Also prints the process's peak resident memory (on Linux), so that two
// catalogues can be compared by their start.
#include "session/user_settings.h"
#include "ui/main/editor_start.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer timer;
    timer.start();
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    const qint64 appReady = timer.elapsed();

    // A session is one kept in the settings, of the same ROM file and catalogue.
    const QString rom = dir + QStringLiteral("/demo.gbc");
    UserSettings settings;
    if (argc > 3) {
        LastSession last;
        last.rom = rom;
        last.catalogue = dir;
        last.category = QString::fromLocal8Bit(argv[2]);
        last.map = QString::fromLocal8Bit(argv[3]);
        settings.setLastSession(last);
    }
    const StartedEditor editor = startEditor({rom, QString(), dir, QString()}, settings);
    const qint64 created = timer.elapsed();

    qint64 shown = 0;
    QTimer::singleShot(0, &app, [&] {
        shown = timer.elapsed();
        app.quit();
    });
    app.exec();
    std::printf("application object: %lld ms\nmain window created, ROM loaded: %lld ms\nfirst event loop turn (window shown): %lld ms\n",
                static_cast<long long>(appReady), static_cast<long long>(created), static_cast<long long>(shown));
#ifdef Q_OS_UNIX
    struct rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        std::printf("peak resident memory: %ld KiB\n", long(usage.ru_maxrss));
#endif
    const qint64 target = argc > 3 ? 150 : 200;
    std::printf("start-up to a shown window: target < %lld ms  %s\n", static_cast<long long>(target),
                shown < target ? "ok" : "SLOW");
    return 0;
}
