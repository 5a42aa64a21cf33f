#include "session/tiled_link.h"

#include "base/prompts.h"
#include "model/tiled/tiled_names.h"
#include "session/editor_session.h"
#include "session/test_play.h"
#include "session/tiled_image_change.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString CommandKey = QStringLiteral("Tiled/Command");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TiledLink::TiledLink(EditorSession& session, QObject* parent) : QObject(parent), m_session(session)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &TiledLink::takeSave);
    // Tiled saves through a temporary file put in place: the folder tells of it.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &TiledLink::changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &TiledLink::changed);
}

QString TiledLink::command()
{
    return QSettings().value(CommandKey, QStringLiteral("tiled %f")).toString();
}

void TiledLink::setCommand(const QString& command)
{
    QSettings().setValue(CommandKey, command);
}

QString TiledLink::folderFor(const QString& map)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("tiled/") + tiledFileName(map));
}

SessionOutcome TiledLink::start(const QString& command)
{
    const QString map = m_session.state().core.map.name;
    QString path;
    const SessionOutcome written = TiledImageChange(m_session).exportShown(folderFor(map), &path);
    if (!written.isDone())
        return written;
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_file = path;
    m_map = map;
    m_lastSeen = readAll(path);
    m_changes = m_session.wholeImage().changeCount();
    m_watcher.addPath(path);
    m_watcher.addPath(QFileInfo(path).absolutePath());
    const ProgramCall call = emulatorCall(command, path);
    if (!call.program.isEmpty() && !QProcess::startDetached(call.program, call.arguments))
        return SessionOutcome::refused(QStringLiteral("Cannot start %1").arg(call.program));
    return SessionOutcome::done(QStringLiteral("Editing %1 in Tiled.").arg(QDir::toNativeSeparators(path)));
}

void TiledLink::changed()
{
    // A file replaced by another is no longer watched: watch it again.
    if (!m_file.isEmpty() && !m_watcher.files().contains(m_file) && QFileInfo::exists(m_file))
        m_watcher.addPath(m_file);
    m_settle.start();
}

void TiledLink::takeSave()
{
    const QByteArray bytes = readAll(m_file);
    if (bytes.isEmpty() || bytes == m_lastSeen)
        return;
    m_lastSeen = bytes;
    Prompts& prompts = m_session.prompts();
    if (m_session.wholeImage().changeCount() != m_changes) {
        const Prompts::Answer answer = prompts.message(
            Prompts::Kind::Confirmation,
            QStringLiteral("Map \"%1\" was also edited here since it went to Tiled. Take the map as saved in Tiled? "
                           "No keeps the edits made here.")
                .arg(m_map),
            Prompts::Buttons::YesNo);
        if (answer != Prompts::Answer::Yes) {
            m_changes = m_session.wholeImage().changeCount();
            emit saveHandled(SessionOutcome::declined());
            return;
        }
    }
    const SessionOutcome outcome = TiledImageChange(m_session).import(m_file);
    if (outcome.isRefused())
        prompts.error(outcome.refusal);
    m_changes = m_session.wholeImage().changeCount();
    emit saveHandled(outcome);
}
