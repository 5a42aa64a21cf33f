// The commands that rest on the user's own settings: Preferences, Test Play
// and Open Recent.
#include "ui/main/main_form.h"

#include "session/editor_session.h"
#include "session/recovery_keeper.h"
#include "session/test_play.h"
#include "session/tiled_link.h"
#include "session/user_settings.h"
#include "ui/main/menu_item.h"
#include "ui/main/preferences_dialog.h"
#include "ui/main/recent_files_menu.h"
#include "ui/main/script_commands.h"
#include "ui/main/script_console.h"
#include "script/script_job.h"
#include "base/prompts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QMenu>
#include <QMenuBar>

void TMainForm::createUserCommands()
{
    if (!settings) {
        m_ownSettings = std::make_unique<UserSettings>();
        settings = m_ownSettings.get();
    }
    session->setFixChecksumsOnSave(settings->fixChecksums());
    testPlay = std::make_unique<TestPlay>();

    QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("Edit1"));
    edit->addSeparator();
    Preferences1 = addMenuItem(edit, "Preferences1", QStringLiteral("Preferences..."),
                               QStringLiteral("The emulator command and the checksums."), QKeySequence::Preferences);
    connect(Preferences1, &QAction::triggered, this, &TMainForm::Preferences1Click);

    QMenu* utilities = menuBar()->findChild<QMenu*>(QStringLiteral("Utilies1"));
    TestPlay1 = addMenuItem(utilities, "TestPlay1", QStringLiteral("Test Play"),
                            QStringLiteral("Play the image with its unsaved changes in the emulator."), Qt::Key_F5);
    connect(TestPlay1, &QAction::triggered, this, &TMainForm::TestPlay1Click);

    QMenu* file = menuBar()->findChild<QMenu*>(QStringLiteral("File1"));
    recentFiles = new RecentFilesMenu(file, SaveRom1, *settings, [this](const QString& path) { loadRom(path); }, this);
    connect(session, &EditorSession::romLoaded, this, [this] {
        settings->addRecentFile(state.core.RomFileName);
        recentFiles->fill();
    });

    scripts->job->setMemoryMiB(settings->scriptMemoryMiB());
    scripts->settings = settings;
    scripts->console->setMemoryMiB(settings->scriptMemoryMiB());
    preferences = new TPreferencesForm(this);
    connect(preferences, &QDialog::accepted, this, [this] {
        const bool fix = preferences->FixChecksumsBox->isChecked();
        session->setFixChecksumsOnSave(fix);
        TiledLink::setCommand(preferences->TiledEdit->text().trimmed());
        settings->setScriptMemoryMiB(preferences->ScriptMemoryBox->value());
        scripts->job->setMemoryMiB(settings->scriptMemoryMiB());
        scripts->console->setMemoryMiB(settings->scriptMemoryMiB());
        const SessionOutcome kept = settings->setPreferences(preferences->EmulatorEdit->text().trimmed(), fix);
        if (kept.isRefused())
            prompts.error(kept.refusal);
    });
}

void TMainForm::Preferences1Click()
{
    preferences->TiledEdit->setText(TiledLink::command());
    preferences->showPreferences(settings->emulatorCommand(), settings->fixChecksums(), settings->scriptMemoryMiB());
}

void TMainForm::TestPlay1Click()
{
    const QString command = settings->emulatorCommand();
    if (emulatorCall(command, QString()).program.isEmpty()) {
        Preferences1Click();
        return;
    }
    // Whatever happens to the emulator, the unsaved work is on disk first.
    session->recovery().writeNow();
    const SessionOutcome started = testPlay->start(*session, command);
    if (started.isRefused()) {
        prompts.error(started.refusal);
        return;
    }
    setStatusText(started.note);
}
