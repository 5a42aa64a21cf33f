#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "cli/standard_streams.h"
#include "script/script_child.h"
#include "script/script_job.h"
#include "session/recovery_keeper.h"
#include "session/user_settings.h"
#include "ui/main/app_icon.h"
#include "ui/main/editor_start.h"

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
    // A script's own process, started by the program itself.
    if (argc == 2 && qstrcmp(argv[1], ScriptChild::Option) == 0) {
        QCoreApplication app(argc, argv);
        return ScriptChild::run();
    }
    const CommandLine line = parseCommandLine(programArguments(argc, argv));

    // Help, version, usage errors and batch work need no display.
    if (line.action != CommandLine::Action::OpenWindow) {
        QCoreApplication app(argc, argv);
        nameApplication();
        // Scripts run in processes of their own, so that none can end this one.
        ScriptJob::runInProcesses(QCoreApplication::applicationFilePath());
        // The script's process starts while this one reads the image.
        if (line.action == CommandLine::Action::RunScript)
            ScriptJob::prepareProcess();
        QTextStream out(stdout);
        QTextStream err(stderr);
        const int status = line.isBatch() ? runBatch(line, QCoreApplication::applicationDirPath(), out, err)
                                          : answerCommandLine(line, out, err);
        return finishStandardStreams(status, out, stdout, err, stderr);
    }

    QApplication app(argc, argv);
    nameApplication();
    ScriptJob::runInProcesses(QCoreApplication::applicationFilePath());
    QApplication::setWindowIcon(kartolaIcon());
    if (!line.catalogueDir.isEmpty() && !QFileInfo(line.catalogueDir).isDir()) {
        QTextStream(stderr) << "Cannot open folder " << line.catalogueDir << '\n';
        return ExitUsage;
    }

    const std::unique_ptr<UserSettings> settings = UserSettings::forUser();
    const StartedEditor editor = startEditor(
        {line.rom, line.catalogueDir, QCoreApplication::applicationDirPath(), RecoveryKeeper::standardFolder()},
        *settings);
    return app.exec();
}
