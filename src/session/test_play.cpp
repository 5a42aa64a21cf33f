#include "session/test_play.h"

#include "session/editor_session.h"
#include "base/safe_write.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

ProgramCall emulatorCall(const QString& command, const QString& file)
{
    QStringList words = QProcess::splitCommand(command);
    ProgramCall call;
    if (words.isEmpty())
        return call;
    call.program = words.takeFirst();
    const QString placeholder = QStringLiteral("%f");
    bool named = false;
    for (QString& word : words) {
        if (word.contains(placeholder)) {
            word.replace(placeholder, file);
            named = true;
        }
    }
    if (!named)
        words << file;
    call.arguments = words;
    return call;
}

SessionOutcome TestPlay::start(const EditorSession& session, const QString& command)
{
    const QString romFile = session.state().core.RomFileName;
    if (romFile.isEmpty())
        return SessionOutcome::refused(QStringLiteral("You haven't loaded rom! Please load rom before playing it."));
    const ProgramCall call = emulatorCall(command, QString());
    if (call.program.isEmpty())
        return SessionOutcome::refused(QStringLiteral("No emulator command is set (Edit > Preferences...)."));
    if (!m_dir || !m_dir->isValid())
        m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid())
        return SessionOutcome::refused(QStringLiteral("Cannot create a temporary folder in %1 for the image to play.")
                                           .arg(QDir::toNativeSeparators(QDir::tempPath())));
    // The ROM file's own name: emulators tell Game Boy from Game Boy Color images by it.
    const QString file = m_dir->filePath(QFileInfo(romFile).fileName());
    if (!writeFileAtomically(file, session.imageAsSaved()))
        return SessionOutcome::refused(QStringLiteral("Cannot create file %1").arg(file));

    const ProgramCall played = emulatorCall(command, file);
    QProcess process;
    process.setProgram(played.program);
    process.setArguments(played.arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return SessionOutcome::refused(QStringLiteral("Cannot start the emulator \"%1\". Check its command in Edit > Preferences...")
            .arg(played.program));
    return SessionOutcome::done(
        QStringLiteral("Playing %1 in %2.").arg(QFileInfo(romFile).fileName(), QFileInfo(played.program).fileName()));
}
