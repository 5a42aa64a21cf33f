// The ROM commands of the main window: Load Rom, Save Rom, Save Rom As, Exit, About.
#include "ui/main/main_form.h"

#include "session/editor_session.h"
#include "session/user_settings.h"
#include "ui/main/map_file_commands.h"
#include "ui/main/patch_commands.h"
#include "ui/main/tiled_commands.h"
#include "ui/main/script_commands.h"
#include "ui/main/session_restore.h"
#include "base/prompts.h"

#include <QCloseEvent>
#include <QFileInfo>

namespace {
const QString RomFilter = QStringLiteral("GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*");
}

void TMainForm::Load1Click()
{
    Prompts::FileRequest request;
    request.title = QStringLiteral("Select the ROM image of the game");
    request.filter = RomFilter;
    // The folder of the image loaded last: this one's, else the last one of an earlier run.
    QString last = state.core.RomFileName;
    if (last.isEmpty() && settings && !settings->recentFiles().isEmpty())
        last = settings->recentFiles().constFirst();
    if (!last.isEmpty())
        request.initialName = QFileInfo(last).absolutePath();
    const auto path = prompts.openFile(request);
    if (!path)
        return;
    loadRom(*path);
}

bool TMainForm::loadRom(const QString& path)
{
    // A script still running works on the image this load replaces; a
    // patch or a map picture under way is finished first.
    scripts->stopAndWait();
    patches->finishRunning();
    mapFiles->finishRunning();
    const SessionOutcome outcome = session->loadRom(path);
    if (outcome.isRefused())
        prompts.error(outcome.refusal);
    // A question answered Cancel leaves everything as it was.
    return outcome.isDone();
}

void TMainForm::Save1Click()
{
    const SessionOutcome saved = session->saveRom();
    if (saved.isRefused())
        prompts.error(saved.refusal);
}

void TMainForm::SaveAs1Click()
{
    if (!state.core.romLoaded()) {
        prompts.error(QStringLiteral("You haven't loaded rom! Please load rom before saving."));
        return;
    }
    Prompts::FileRequest request;
    request.title = QStringLiteral("Save rom");
    request.filter = RomFilter;
    request.defaultSuffix = QStringLiteral("GB");
    const auto path = prompts.saveFile(request);
    if (!path)
        return;
    // RomFileName stays: a later Save Rom writes to the file that was loaded.
    const SessionOutcome saved = session->saveRomAs(*path);
    if (saved.isRefused())
        prompts.error(saved.refusal);
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Exit, Ctrl+Q and the window's close box all come here; a script
    // still running is stopped first, a patch, map picture or export for
    // Tiled finished.
    scripts->stopAndWait();
    patches->finishRunning();
    tiled->finishRunning();
    mapFiles->finishRunning();
    if (!session->maySetAside()) {
        event->ignore();
        return;
    }
    settings->setLastSession(currentSession(*this));
    event->accept();
}

void TMainForm::About1Click()
{
    prompts.about(QStringLiteral("Kartola 1.3"),
                  QStringLiteral("Kartola 1.3\nA map, event and encounter editor for Game Boy Color role-playing games."));
}
