#include "ui/main/patch_commands.h"

#include "session/editor_session.h"
#include "session/image_patches.h"
#include "session/patch_apply_job.h"
#include "base/prompts.h"
#include "widgets/work_progress_dialog.h"

#include <QAction>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QSettings>

namespace {
const QString RomFilter =
    QStringLiteral("GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*");
const QString AnyPatchFilter =
    QStringLiteral("Patches (*.bps *.ips)|*.bps;*.ips|BPS patch (*.bps)|*.bps|IPS patch (*.ips)|*.ips");
const QString LastOriginalKey = QStringLiteral("Patches/LastOriginal");

// Settings keys treat "/" as a group separator: the ROM path is encoded.
QString originalKeyFor(const QString& romPath)
{
    const QByteArray encoded = QFileInfo(romPath).absoluteFilePath().toUtf8().toBase64(
        QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    return QStringLiteral("PatchOriginals/") + QString::fromLatin1(encoded);
}
} // namespace

const QString PatchCommands::PatchFilter = QStringLiteral("BPS patch (*.bps)|*.bps|IPS patch (*.ips)|*.ips");

PatchCommands::PatchCommands(EditorSession& session, QMenu* file, QAction* before, QObject* parent)
    : QObject(parent), m_session(session)
{
    MakePatch1 = new QAction(QStringLiteral("Make Patch..."), this);
    MakePatch1->setObjectName(QStringLiteral("MakePatch1"));
    MakePatch1->setStatusTip(QStringLiteral("Make a patch of the changes against the original image."));
    ApplyPatch1 = new QAction(QStringLiteral("Apply Patch..."), this);
    ApplyPatch1->setObjectName(QStringLiteral("ApplyPatch1"));
    ApplyPatch1->setStatusTip(QStringLiteral("Apply an IPS or BPS patch to the image."));
    for (QAction* action : {MakePatch1, ApplyPatch1}) {
        action->setEnabled(false);
        file->insertAction(before, action);
        connect(&session, &EditorSession::romLoaded, action, [action] { action->setEnabled(true); });
    }
    file->insertSeparator(before);
    connect(MakePatch1, &QAction::triggered, this, &PatchCommands::MakePatch1Click);
    connect(ApplyPatch1, &QAction::triggered, this, &PatchCommands::ApplyPatch1Click);
    job = new PatchApplyJob(session, this);
    progress = new WorkProgressDialog(qobject_cast<QWidget*>(parent), this);
    connect(job, &PatchApplyJob::finished, this, &PatchCommands::applied);
}

QString PatchCommands::rememberedOriginal() const
{
    const QSettings settings;
    const QString mine = settings.value(originalKeyFor(m_session.state().core.RomFileName)).toString();
    return mine.isEmpty() ? settings.value(LastOriginalKey).toString() : mine;
}

void PatchCommands::rememberOriginal(const QString& path)
{
    QSettings settings;
    settings.setValue(originalKeyFor(m_session.state().core.RomFileName), path);
    settings.setValue(LastOriginalKey, path);
}

void PatchCommands::MakePatch1Click()
{
    Prompts& prompts = m_session.prompts();
    const std::optional<QString> original = prompts.openFile(
        {QStringLiteral("Select the original image the patch starts from"), RomFilter, QString(), rememberedOriginal()});
    if (!original)
        return;
    rememberOriginal(*original);
    const QString romName = QFileInfo(m_session.state().core.RomFileName).completeBaseName();
    const std::optional<QString> patch = prompts.saveFile(
        {QStringLiteral("Make patch"), PatchFilter, QStringLiteral("bps"), romName + QStringLiteral(".bps")});
    if (!patch)
        return;
    const SessionOutcome made = ImagePatches(m_session).make(*original, *patch);
    if (made.isRefused())
        prompts.error(made.refusal);
}

void PatchCommands::ApplyPatch1Click()
{
    Prompts& prompts = m_session.prompts();
    const std::optional<QString> patch =
        prompts.openFile({QStringLiteral("Apply patch"), AnyPatchFilter, QString(), QString()});
    if (!patch)
        return;
    const SessionOutcome started = job->start(*patch);
    if (started.isRefused())
        prompts.error(started.refusal);
    if (!started.isDone())
        return;
    ApplyPatch1->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    const QString text = QStringLiteral("Applying %1...").arg(QFileInfo(*patch).fileName());
    emit m_session.statusText(text);
    progress->begin(job->progress(), text);
}

void PatchCommands::applied(const SessionOutcome& outcome)
{
    progress->end();
    QGuiApplication::restoreOverrideCursor();
    ApplyPatch1->setEnabled(m_session.state().core.romLoaded());
    // Done or cancelled: the session's status line stays.
    if (!outcome.isRefused())
        return;
    emit m_session.statusText(QString());
    m_session.prompts().error(outcome.refusal);
}

void PatchCommands::finishRunning()
{
    job->finish();
}

bool PatchCommands::isRunning() const
{
    return job->isRunning();
}
