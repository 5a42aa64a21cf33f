#include "session/rom_lock.h"

#include "base/safe_write.h"
#include "session/recovery_file.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <signal.h>
#include <time.h>
#endif
#ifdef Q_OS_MACOS
#include <sys/sysctl.h>
#include <sys/time.h>
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

// When this machine was started; invalid where that cannot be learned.
QDateTime machineStart()
{
#if defined(Q_OS_WIN)
    return QDateTime::currentDateTimeUtc().addMSecs(-qint64(GetTickCount64()));
#elif defined(Q_OS_MACOS)
    timeval boot{};
    size_t size = sizeof boot;
    int name[2] = {CTL_KERN, KERN_BOOTTIME};
    if (sysctl(name, 2, &boot, &size, nullptr, 0) != 0)
        return {};
    return QDateTime::fromSecsSinceEpoch(boot.tv_sec, Qt::UTC);
#elif defined(CLOCK_BOOTTIME)
    timespec up{};
    if (clock_gettime(CLOCK_BOOTTIME, &up) != 0)
        return {};
    return QDateTime::currentDateTimeUtc().addMSecs(-(qint64(up.tv_sec) * 1000 + up.tv_nsec / 1000000));
#else
    return {};
#endif
}

// Whether the lock file at `path` was written before this machine started:
// no process that runs now can have written it. A minute is allowed for a
// clock set since.
bool fromBeforeStart(const QString& path)
{
    const QDateTime start = machineStart();
    const QDateTime written = QFileInfo(path).lastModified();
    return start.isValid() && written.isValid() && written.addSecs(60) < start;
}

Holder readHolder(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {0, !file.exists() || fromBeforeStart(path)};
    const QList<QByteArray> lines = file.read(1024).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    // A lock that names no process (empty from a full disk, or written by
    // something else) may still belong to an editor that runs: it holds the
    // file until the machine has been started again since it was written.
    if (!ok || pid <= 0)
        return {0, fromBeforeStart(path)};
    const bool here = lines.value(1).trimmed() == machine();
    return {pid, here && !RomLock::processRuns(pid)};
}

enum class Mark { Made, Exists, NotWritten };

// Makes the lock file at `path` whole or not at all: the content goes to a
// file of this editor's own, checked to the end, which then takes the lock's
// name only while no file has it. A lock file is never seen half written.
Mark makeMark(const QString& path, const QString& tag, const QByteArray& content)
{
    const QString draft = path + QLatin1Char('.') + tag;
    if (!writeFileAtomically(draft, content))
        return Mark::NotWritten;
    if (QFile::rename(draft, path))
        return Mark::Made;
    QFile::remove(draft);
    return QFileInfo::exists(path) ? Mark::Exists : Mark::NotWritten;
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
    const QByteArray content = QByteArray::number(QCoreApplication::applicationPid()) + '\n' + machine() + '\n';
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Mark mark = makeMark(path, m_tag, content);
        if (mark == Mark::NotWritten)
            break;
        if (mark == Mark::Made) {
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
    // The mark can be neither made nor taken over (a read-only folder, a
    // full disk): this editor works on, with a recovery copy of its own.
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
