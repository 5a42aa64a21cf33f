#include "ui/main/script_commands.h"

#include "script/script_job.h"
#include "ui/main/menu_item.h"
#include "ui/main/script_output_panel.h"
#include "ui/main/script_arguments_dialog.h"
#include "ui/main/script_console.h"
#include "script/script_arguments.h"
#include "session/user_settings.h"
#include "base/prompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>

const QString ScriptCommands::ScriptFilter = QStringLiteral("Scripts|*.js|All files (*.*)|*.*");

ScriptCommands::ScriptCommands(EditorSession& session, QMenu* utilities, QMainWindow* window, QObject* parent)
    : QObject(parent), timeoutMs(ScriptJob::DefaultTimeoutMs), m_session(session)
{
    utilities->addSeparator();
    RunScript1 = addMenuItem(utilities, "RunScript1", QStringLiteral("Run Script..."),
                             QStringLiteral("Run a JavaScript file on the image."));
    Scripts1 = utilities->addMenu(QStringLiteral("Scripts"));
    Scripts1->setObjectName(QStringLiteral("Scripts1"));
    Scripts1->menuAction()->setObjectName(QStringLiteral("Scripts1Item"));
    Scripts1->menuAction()->setStatusTip(QStringLiteral("Run one of your scripts or of the catalogue's."));

    panel = new ScriptOutputPanel(window);
    window->addDockWidget(Qt::BottomDockWidgetArea, panel);
    panel->hide();

    console = new ScriptConsole(session, window);
    window->addDockWidget(Qt::BottomDockWidgetArea, console);
    console->hide();

    job = new ScriptJob(this);
    connect(job, &ScriptJob::logLines, panel, &ScriptOutputPanel::addLines);
    connect(job, &ScriptJob::finished, this, &ScriptCommands::finished);
    connect(panel->Stop, &QPushButton::clicked, job, &ScriptJob::stop);
    arguments = new ScriptArgumentsDialog(window);
    connect(arguments, &QDialog::accepted, this, [this] {
        if (settings)
            settings->setScriptArguments(m_askedPath, arguments->values());
        start(m_askedPath, m_askedSource, arguments->values());
    });
    connect(RunScript1, &QAction::triggered, this, &ScriptCommands::RunScript1Click);
    connect(Scripts1, &QMenu::aboutToShow, this, &ScriptCommands::fillScripts);
    // A script's process starts while the user chooses the script.
    connect(Scripts1, &QMenu::aboutToShow, this, &ScriptJob::prepareProcess);
    connect(&session, &EditorSession::romLoaded, this, [this] {
        m_romLoaded = true;
        updateActions();
    });
    updateActions();
}

// The job, a child, stops its script and waits for it as it goes.
ScriptCommands::~ScriptCommands() = default;

QString ScriptCommands::userScriptsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/scripts");
}

bool ScriptCommands::isRunning() const
{
    return job->isRunning();
}

void ScriptCommands::updateActions()
{
    const bool may = m_romLoaded && !job->isRunning();
    RunScript1->setEnabled(may);
    Scripts1->setEnabled(may);
    panel->setRunning(job->isRunning());
}

void ScriptCommands::fillScripts()
{
    Scripts1->clear();
    for (const QString& folder : {userScriptsFolder(), catalogueScriptsFolder()}) {
        const QDir dir(folder);
        const QStringList names =
            dir.entryList({QStringLiteral("*.js")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
        if (names.isEmpty())
            continue;
        if (!Scripts1->isEmpty())
            Scripts1->addSeparator();
        for (const QString& name : names) {
            const QString path = dir.filePath(name);
            QAction* action = Scripts1->addAction(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
            action->setStatusTip(QDir::toNativeSeparators(path));
            connect(action, &QAction::triggered, this, [this, path] { run(path); });
        }
    }
    if (Scripts1->isEmpty())
        Scripts1->addAction(QStringLiteral("No scripts"))->setEnabled(false);
}

QString ScriptCommands::catalogueScriptsFolder() const
{
    return QDir(m_session.state().core.catalogue.programDir).filePath(QStringLiteral("scripts"));
}

QString ScriptCommands::dialogFolder() const
{
    // Where a script was chosen last, else where the catalogue's examples
    // are, else the user's own scripts.
    for (const QString& folder : {m_lastFolder, catalogueScriptsFolder(), userScriptsFolder()})
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    return QString();
}

void ScriptCommands::RunScript1Click()
{
    ScriptJob::prepareProcess();
    const std::optional<QString> path =
        m_session.prompts().openFile({QStringLiteral("Run script"), ScriptFilter, QString(), dialogFolder()});
    if (!path)
        return;
    m_lastFolder = QFileInfo(*path).absolutePath();
    run(*path);
}

void ScriptCommands::run(const QString& path)
{
    if (job->isRunning() || !m_session.state().core.romLoaded())
        return;
    Prompts& prompts = m_session.prompts();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts.error(QStringLiteral("Cannot read file %1: %2").arg(path, file.errorString()));
        return;
    }
    const QString source = QString::fromUtf8(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        prompts.error(QStringLiteral("Cannot read file %1: %2").arg(path, file.errorString()));
        return;
    }
    const ScriptArguments declared = scriptArguments(source);
    const QFileInfo info(path);
    if (!declared.problem.isEmpty()) {
        panel->begin(info.completeBaseName());
        panel->addLine(QStringLiteral("%1:%2").arg(info.fileName(), declared.problem));
        return;
    }
    if (declared.list.isEmpty()) {
        start(path, source, {});
        return;
    }
    m_askedPath = info.absoluteFilePath();
    m_askedSource = source;
    arguments->ask(info.completeBaseName(), declared.list,
                   settings ? settings->scriptArguments(m_askedPath) : QStringList());
}

void ScriptCommands::start(const QString& path, const QString& source, const QStringList& values)
{
    if (job->isRunning() || !m_session.state().core.romLoaded())
        return;
    Prompts& prompts = m_session.prompts();
    // The pick's question first; Cancel runs nothing.
    WholeImageChange::Start start = m_session.wholeImage().begin();
    if (!start.outcome.isDone()) {
        if (start.outcome.isRefused())
            prompts.error(start.outcome.refusal);
        return;
    }
    const QFileInfo info(path);
    m_name = info.completeBaseName();
    m_dropResult = false;
    const ScriptRequest request{info.fileName(), source, values, start.image,
                                m_session.state().core.catalogue.programDir};
    m_start = std::move(start);
    panel->begin(m_name);
    job->start(request, timeoutMs);
    updateActions();
}

void ScriptCommands::stopAndWait()
{
    if (!job->isRunning())
        return;
    m_dropResult = true;
    job->stop();
    job->wait();
}

void ScriptCommands::finished(const ScriptResult& result)
{
    updateActions();
    ScriptJob::prepareProcess();   // for the next run
    const WholeImageChange::Start start = std::move(m_start);
    m_start = {};
    if (m_dropResult) {
        panel->addLine(QStringLiteral("%1: stopped; nothing changed.").arg(m_name));
        return;
    }
    if (result.end != ScriptResult::End::Finished) {
        panel->addLine(result.error);
        return;
    }
    if (!result.changed) {
        panel->addLine(QStringLiteral("%1 finished; the image is unchanged.").arg(m_name));
        return;
    }
    const SessionOutcome applied =
        m_session.wholeImage().finish(start, QStringLiteral("Run Script %1").arg(m_name), result.image);
    if (applied.isRefused()) {
        panel->addLine(applied.refusal);
        m_session.prompts().error(applied.refusal);
        return;
    }
    panel->addLine(QStringLiteral("%1 finished; the image was changed.").arg(m_name));
}
