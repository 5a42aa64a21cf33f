#include "session/rom_lock.h"

#include "session/recovery_file.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <signal.h>
#endif

namespace {

QAtomicInteger<int> editors;

QByteArray machine() { return QSysInfo::machineHostName().toUtf8(); }

// The holder written in a lock file: its process id, and whether that process
// is known to be gone (only a process of this machine can be looked at).
struct Holder {
    qint64 pid = 0;
    bool gone = false;
};

Holder readHolder(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {0, !file.exists()};
    const QList<QByteArray> lines = file.read(1024).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    // Unreadable content is no editor's: nobody holds the file by it.
    if (!ok || pid <= 0)
        return {0, true};
    const bool here = lines.value(1).trimmed() == machine();
    return {pid, here && !RomLock::processRuns(pid)};
}

// The recovery copy another editor of the ROM file left behind when it ended
// without removing it (named HASH-PID-N.bps); empty when there is none.
QString strayCopy(const QString& folder, const QString& romPath)
{
    const QString own = RecoveryFile::fileNameFor(romPath);
    const QString stem = own.chopped(4) + QLatin1Char('-');
    const QStringList names = QDir(folder).entryList({stem + QStringLiteral("*.bps")}, QDir::Files, QDir::Time);
    for (const QString& name : names) {
        bool ok = false;
        const qint64 pid = name.mid(stem.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&ok);
        if (ok && !RomLock::processRuns(pid))
            return QDir(folder).filePath(name);
    }
    return {};
}

} // namespace

RomLock::RomLock()
    : m_tag(QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(editors.fetchAndAddRelaxed(1) + 1))
{
}

QString RomLock::lockPath(const QString& folder, const QString& romPath)
{
    return QDir(folder).filePath(RecoveryFile::fileNameFor(romPath).chopped(4) + QStringLiteral(".lock"));
}

bool RomLock::processRuns(qint64 pid)
{
    if (pid <= 0)
        return false;
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    if (pid > 0x7FFFFFFF)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

bool RomLock::take(const QString& folder, const QString& romPath, qint64* holder)
{
    const QString path = lockPath(folder, romPath);
    if (path == m_path)
        return true;
    release();
    m_tagged = true;
    if (folder.isEmpty() || romPath.isEmpty() || !QDir().mkpath(folder))
        return true;
    // Twice at most: a mark left by a process that is gone is removed first.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' + machine() + '\n');
            file.close();
            m_path = path;
            m_tagged = false;
            // The copy an editor of this file left when it ended becomes the holder's own.
            const QString own = QDir(folder).filePath(RecoveryFile::fileNameFor(romPath));
            const QString stray = QFile::exists(own) ? QString() : strayCopy(folder, romPath);
            if (!stray.isEmpty())
                QFile::rename(stray, own);
            return true;
        }
        const Holder found = readHolder(path);
        if (!found.gone) {
            if (holder)
                *holder = found.pid;
            return false;
        }
        QFile::remove(path);
    }
    // The mark can be neither made nor taken over (a read-only folder):
    // this editor works on, with a recovery copy of its own.
    return true;
}

void RomLock::release()
{
    if (m_path.isEmpty())
        return;
    // Only a mark that is still this editor's is removed.
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly)
        && file.read(64).split('\n').value(0).trimmed() == QByteArray::number(QCoreApplication::applicationPid()))
        QFile::remove(m_path);
    m_path.clear();
    m_tagged = false;
}
