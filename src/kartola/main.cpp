#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "cli/standard_streams.h"
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
    const CommandLine line = parseCommandLine(programArguments(argc, argv));

    // Help, version, usage errors and batch work need no display.
    if (line.action != CommandLine::Action::OpenWindow) {
        QCoreApplication app(argc, argv);
        nameApplication();
        QTextStream out(stdout);
        QTextStream err(stderr);
        const int status = line.isBatch() ? runBatch(line, QCoreApplication::applicationDirPath(), out, err)
                                          : answerCommandLine(line, out, err);
        return finishStandardStreams(status, out, stdout, err, stderr);
    }

    QApplication app(argc, argv);
    nameApplication();
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
