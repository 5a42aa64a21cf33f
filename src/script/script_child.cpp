#include "script/script_child.h"

#include "base/job_runner.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QWaitCondition>

#include <cstdio>
#include <limits>
#include <new>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace ScriptChild {

namespace {

// A frame: its kind, its length, its bytes.
QByteArray frame(Frame kind, const QByteArray& body)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint8(kind) << body;
    return bytes;
}

// The process's standard output, written whole frame by frame from any thread.
class Output {
public:
    bool write(const QByteArray& bytes)
    {
        QMutexLocker lock(&m_mutex);
        const char* data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(STDOUT_FILENO, data, size_t(left));
            if (n <= 0)
                return false;
            data += n;
            left -= n;
        }
        return true;
    }

private:
    QMutex m_mutex;
};

// The lines logged, sent in batches: when many have come, and every 20 ms
// from a worker of its own, so that a line logged before a long loop is seen.
class LogSender {
public:
    explicit LogSender(Output& output) : m_output(output)
    {
        m_sender.add([this](JobRunner::Job&) -> JobRunner::Handover {
            QMutexLocker lock(&m_mutex);
            while (!m_done) {
                m_wake.wait(&m_mutex, 20);
                sendLocked();
            }
            return {};
        });
    }
    ~LogSender()
    {
        {
            QMutexLocker lock(&m_mutex);
            m_done = true;
            m_wake.wakeAll();
        }
        m_sender.finish();
        QMutexLocker lock(&m_mutex);
        sendLocked();
    }
    void add(const QStringList& lines)
    {
        QMutexLocker lock(&m_mutex);
        m_lines.append(lines);
        if (m_lines.size() >= 4096)
            sendLocked();
    }

private:
    void sendLocked()
    {
        if (m_lines.isEmpty())
            return;
        QByteArray body;
        QDataStream out(&body, QIODevice::WriteOnly);
        out << m_lines;
        m_lines.clear();
        m_output.write(frame(LogFrame, body));
    }

    Output& m_output;
    QMutex m_mutex;
    QWaitCondition m_wake;
    QStringList m_lines;
    bool m_done = false;
    JobRunner m_sender;   // last: its worker is waited for before the rest goes
};

[[noreturn]] void outOfMemory()
{
    ::_exit(ExitOutOfMemory);
}

void outOfMemoryMessage(QtMsgType type, const QMessageLogContext&, const QString&)
{
    // The engine gives up with a fatal message when it cannot map memory.
    if (type == QtFatalMsg)
        outOfMemory();
}

#ifdef Q_OS_UNIX
// The bound set, in pages, for the handler of a fault.
volatile sig_atomic_t boundPages = 0;

// The process's address space in pages, read with calls safe in a signal
// handler; 0 when it cannot be read.
long addressSpacePages()
{
    const int fd = ::open("/proc/self/statm", O_RDONLY);
    if (fd < 0)
        return 0;
    char text[64];
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    long pages = 0;
    for (ssize_t i = 0; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
        pages = pages * 10 + (text[i] - '0');
    return pages;
}

// The engine does not check every mapping it asks for: past the bound it
// may fault on one it did not get. A fault with the address space at the
// bound (within 64 MiB) is memory that ran out; any other stays a crash.
void faulted(int signal)
{
    const long margin = long(64 * 1024 * 1024 / ::sysconf(_SC_PAGESIZE));
    if (boundPages > 0 && addressSpacePages() + margin >= long(boundPages))
        ::_exit(ExitOutOfMemory);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
#endif

// Bounds the address space to what the process has now plus `memoryMiB`.
void boundMemory(qint64 memoryMiB)
{
#ifdef Q_OS_UNIX
    const qint64 pageSize = ::sysconf(_SC_PAGESIZE);
    const qint64 bound = qint64(addressSpacePages()) * pageSize + memoryMiB * 1024 * 1024;
    boundPages = sig_atomic_t(qMin<qint64>(bound / pageSize, std::numeric_limits<sig_atomic_t>::max()));
    static char faultStack[64 * 1024];
    stack_t stack{};
    stack.ss_sp = faultStack;
    stack.ss_size = sizeof faultStack;
    ::sigaltstack(&stack, nullptr);
    struct sigaction action{};
    action.sa_handler = faulted;
    action.sa_flags = SA_ONSTACK;
    ::sigaction(SIGSEGV, &action, nullptr);
    ::sigaction(SIGBUS, &action, nullptr);
    ::sigaction(SIGABRT, &action, nullptr);
    struct rlimit limit;
    limit.rlim_cur = rlim_t(bound);
    limit.rlim_max = rlim_t(bound);
    ::setrlimit(RLIMIT_AS, &limit);
#else
    Q_UNUSED(memoryMiB);
#endif
}

} // namespace

QByteArray encodeRequest(const ScriptRequest& request)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << request.fileName << request.source << request.args << request.image << request.catalogueDir;
    return bytes;
}

bool takeFrames(QByteArray& buffer, const std::function<void(const QStringList&)>& log,
                std::optional<ScriptResult>& result)
{
    for (;;) {
        QDataStream in(buffer);
        quint8 kind = 0;
        QByteArray body;
        in >> kind >> body;
        if (in.status() != QDataStream::Ok)
            return true;   // a frame not yet whole
        buffer.remove(0, qsizetype(in.device()->pos()));
        QDataStream fields(body);
        if (kind == LogFrame) {
            QStringList lines;
            fields >> lines;
            if (fields.status() != QDataStream::Ok)
                return false;
            log(lines);
        } else if (kind == ResultFrame) {
            qint32 end = 0;
            ScriptResult r;
            fields >> end >> r.error >> r.image >> r.changed;
            if (fields.status() != QDataStream::Ok || end < 0 || end > qint32(ScriptResult::End::TimedOut))
                return false;
            r.end = ScriptResult::End(end);
            result = r;
        } else {
            return false;
        }
    }
}

int run(qint64 memoryMiB)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = input.readAll();
    QDataStream in(bytes);
    ScriptRequest request;
    in >> request.fileName >> request.source >> request.args >> request.image >> request.catalogueDir;
    if (in.status() != QDataStream::Ok)
        return 1;

    qInstallMessageHandler(outOfMemoryMessage);
    std::set_new_handler(outOfMemory);
    boundMemory(memoryMiB);

    Output output;
    ScriptResult result;
    {
        LogSender sender(output);
        result = runScriptBatched(request, [&](const QStringList& lines) { sender.add(lines); });
    }
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << qint32(result.end) << result.error << result.image << result.changed;
    return output.write(frame(ResultFrame, body)) ? 0 : 1;
}

} // namespace ScriptChild
