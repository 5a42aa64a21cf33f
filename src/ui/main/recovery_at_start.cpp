#include "ui/main/recovery_at_start.h"

#include "session/editor_session.h"
#include "session/recovery_file.h"
#include "session/recovery_keeper.h"
#include "ui/main/main_form.h"

bool startWithRecovery(TMainForm& window, const QString& rom)
{
    RecoveryKeeper& recovery = window.session->recovery();
    recovery.setFolder(RecoveryKeeper::standardFolder());
    const QString path = rom.isEmpty() ? RecoveryFile::latestRom(recovery.folder()) : rom;
    return path.isEmpty() || window.loadRom(path);
}
