#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "session/editor_state.h"
#include "session/user_settings.h"
#include "ui/main/app_icon.h"
#include "ui/main/main_form.h"
#include "session/editor_session.h"
#include "session/recovery_keeper.h"
#include "ui/main/recovery_at_start.h"
#include "ui/main/session_restore.h"
#include "widgets/qt_prompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

QStringList programArguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kartola"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.3"));
}

} // namespace

int main(int argc, char** argv)
{
    const CommandLine line = parseCommandLine(programArguments(argc, argv));

    // Help, version, usage errors and batch work need no display.
    if (line.action != CommandLine::Action::OpenWindow) {
        QCoreApplication app(argc, argv);
        nameApplication();
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (line.isBatch())
            return runBatch(line, QCoreApplication::applicationDirPath(), out, err);
        return answerCommandLine(line, out, err);
    }

    QApplication app(argc, argv);
    nameApplication();
    QApplication::setWindowIcon(kartolaIcon());
    if (!line.catalogueDir.isEmpty() && !QFileInfo(line.catalogueDir).isDir()) {
        QTextStream(stderr) << "Cannot open folder " << line.catalogueDir << '\n';
        return ExitUsage;
    }

    // The last session decides the catalogue folder before the window reads it.
    const std::unique_ptr<UserSettings> settings = UserSettings::forUser();
    const LastSession last = settings->lastSession();
    const SessionStart start = planStart(last, line.rom, line.catalogueDir, QCoreApplication::applicationDirPath());
    EditorState state(start.catalogue);
    QtPrompts prompts;
    TMainForm mainForm(state, prompts, settings.get());
    prompts.setOwner(&mainForm);
    mainForm.show();

    // Recovery files are known before the first Load Rom, which offers them.
    // "kartola ROM" opens that image as Load Rom would; the last session comes
    // back; with neither, the ROM file whose changes were left unsaved last.
    mainForm.session->recovery().setFolder(RecoveryKeeper::standardFolder());
    restoreLastSession(mainForm, last, start);
    if (!state.core.romLoaded() && line.rom.isEmpty())
        startWithRecovery(mainForm, QString());

    return app.exec();
}
