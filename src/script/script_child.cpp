#include "script/script_child.h"

#include "base/job_runner.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QIODevice>
#include <QJSEngine>
#include <QMutex>
#include <QWaitCondition>

#include <algorithm>
#include <cerrno>
#include <algorithm>
#include <cerrno>
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

// Reads `size` bytes to `to`; false at the end of the input before them.
bool readWhole(int fd, char* to, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::read(fd, to, size_t(qMin<qsizetype>(size, 1 << 20)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        to += n;
        size -= n;
    }
    return true;
}

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

QByteArray encodeRequest(const ScriptRequest& request, qint64 memoryMiB)
{
    // The length of the fields, the fields, then the image as it is, so that
    // the process reads it straight into a buffer of its own.
    QByteArray fields;
    QDataStream out(&fields, QIODevice::WriteOnly);
    out << memoryMiB << request.fileName << request.source << request.args << request.catalogueDir
        << qint64(request.image.size());
    QByteArray bytes;
    QDataStream head(&bytes, QIODevice::WriteOnly);
    head << fields;
    return bytes + request.image;
}

QList<ImageChange> imageChanges(const QByteArray& before, const QByteArray& after)
{
    if (before.size() != after.size())
        return {{-1, after}};
    // Runs of changed bytes; a gap shorter than a run's own header joins two.
    constexpr qsizetype Join = 16;
    QList<ImageChange> changes;
    const qsizetype size = after.size();
    qsizetype i = 0;
    while (i < size) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        const qsizetype first = i;
        qsizetype last = i;   // the run's last changed byte
        for (++i; i < size && i - last <= Join; ++i)
            if (before[i] != after[i])
                last = i;
        changes.append({first, after.sliced(first, last - first + 1)});
        i = last + 1;
    }
    return changes;
}

bool applyImageChanges(QByteArray& image, const QList<ImageChange>& changes)
{
    for (const ImageChange& change : changes) {
        if (change.offset == -1) {
            image = change.bytes;
            continue;
        }
        if (change.offset < 0 || change.offset > image.size() || change.bytes.size() > image.size() - change.offset)
            return false;
        std::copy(change.bytes.cbegin(), change.bytes.cend(), image.begin() + change.offset);
    }
    return true;
}

bool takeFrames(QByteArray& buffer, const std::function<void(const QStringList&)>& log,
                std::optional<ScriptResult>& result, const QByteArray& image)
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
            QList<ImageChange> changes;
            fields >> end >> r.error >> r.changed >> changes;
            if (fields.status() != QDataStream::Ok || end < 0 || end > qint32(ScriptResult::End::TimedOut))
                return false;
            r.end = ScriptResult::End(end);
            if (r.end == ScriptResult::End::Finished) {
                r.image = image;
                if (!applyImageChanges(r.image, changes))
                    return false;
            }
            result = r;
        } else {
            return false;
        }
    }
}

int run()
{
#ifdef Q_OS_LINUX
    // Pipes of 1 MiB take most images in one piece (the system may give less).
    ::fcntl(STDIN_FILENO, F_SETPIPE_SZ, 1 << 20);
    ::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
#endif
    // An engine made while the request is still to come: a process's first
    // costs several times what a later one does.
    QJSEngine engine;
    engine.evaluate(QStringLiteral("0"));

    // The request: the length of its fields, the fields, the image.
    QByteArray head(4, Qt::Uninitialized);
    if (!readWhole(STDIN_FILENO, head.data(), head.size()))
        return 1;
    qint32 length = 0;
    QDataStream lengthIn(head);
    lengthIn >> length;
    if (length < 0 || length > (1 << 26))
        return 1;
    QByteArray fields(length, Qt::Uninitialized);
    if (!readWhole(STDIN_FILENO, fields.data(), fields.size()))
        return 1;
    QDataStream in(fields);
    qint64 memoryMiB = 0, imageSize = -1;
    ScriptRequest request;
    in >> memoryMiB >> request.fileName >> request.source >> request.args >> request.catalogueDir >> imageSize;
    if (in.status() != QDataStream::Ok || !in.atEnd() || memoryMiB < 1 || memoryMiB > MaxMemoryMiB
        || imageSize < 0 || imageSize > (qint64(1) << 32))
        return 1;
    request.image = QByteArray(qsizetype(imageSize), Qt::Uninitialized);
    char past;
    if (!readWhole(STDIN_FILENO, request.image.data(), request.image.size()) || ::read(STDIN_FILENO, &past, 1) != 0)
        return 1;

    qInstallMessageHandler(outOfMemoryMessage);
    std::set_new_handler(outOfMemory);
    boundMemory(memoryMiB);

    Output output;
    ScriptResult result;
    {
        LogSender sender(output);
        result = runScriptBatched(request, [&](const QStringList& lines) { sender.add(lines); }, nullptr, &engine);
    }
    // Only the bytes the script changed go back.
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << qint32(result.end) << result.error << result.changed
        << (result.changed ? imageChanges(request.image, result.image) : QList<ImageChange>());
    const bool written = output.write(frame(ResultFrame, body));
    // Nothing is left to do: the process ends without taking itself apart.
    std::fflush(nullptr);
    ::_exit(written ? 0 : 1);
}

} // namespace ScriptChild
