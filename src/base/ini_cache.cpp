#include "base/ini_cache.h"

#include "base/file_lookup.h"
#include "base/ini_file.h"
#include "base/ini_text.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace Ini {

namespace {

// A parsed file is trusted while its size and modification time stay the
// same, once that time lay more than SettleMs before the moment the file
// was read: a later change then cannot keep the same time stamp, even on a
// file system that counts time in steps of two seconds. Until then its bytes
// are compared at every read.
constexpr qint64 SettleMs = 2500;

// What the file system says of a file: enough to see that it changed.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0; // modification time, nanoseconds since the epoch
    quint64 inode = 0;     // a file replaced by renaming another over it is another inode
    quint64 device = 0;
    bool operator==(const FileStamp&) const = default;
};

bool stampOf(const QString& path, FileStamp* stamp)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    stamp->size = st.st_size;
    stamp->modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp->inode = quint64(st.st_ino);
    stamp->device = quint64(st.st_dev);
    return true;
#else
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return false;
    stamp->size = info.size();
    stamp->modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    return true;
#endif
}

struct CacheEntry {
    std::shared_ptr<const IniDocument> doc;
    QByteArray utf16Bytes; // a UTF-16 file's own bytes (any other file's are the document's text)
    FileStamp stamp;
    bool settled = false;

    bool holds(const QByteArray& bytes) const
    {
        return doc->encoding == Encoding::Utf16LE ? utf16Bytes == bytes : doc->text == bytes;
    }
};

// A script may read the catalogue on a thread of its own while the editor
// reads it too: the cache is used under this lock, held only to look up and
// to store; the file system is asked and files are read and parsed outside
// it. A parsed document is never changed once made, so it is read outside
// the lock too.
QMutex& cacheLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, CacheEntry>& cache()
{
    static QHash<QString, CacheEntry> entries;
    return entries;
}

std::shared_ptr<const IniDocument> emptyDocument()
{
    static const auto empty = std::make_shared<const IniDocument>();
    return empty;
}

// The file's bytes, allocated at the size the file system gave (readAll
// would leave room to spare), and whatever a writer added since.
QByteArray readWhole(QFile& file, qint64 expected)
{
    QByteArray bytes(qsizetype(expected), Qt::Uninitialized);
    qint64 got = 0;
    while (got < expected) {
        const qint64 n = file.read(bytes.data() + got, expected - got);
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(qsizetype(got));
    if (got == expected)
        bytes += file.readAll();
    return bytes;
}

std::shared_ptr<const IniDocument> load(const QString& path)
{
    FileStamp stamp;
    QString resolved = path;
    if (!stampOf(resolved, &stamp)) {
        resolved = resolveCatalogueFile(path);
        if (resolved == path || !stampOf(resolved, &stamp))
            return forget(path);
    }
    std::optional<CacheEntry> known;
    {
        const QMutexLocker lock(&cacheLock());
        const auto it = cache().constFind(resolved);
        if (it != cache().cend()) {
            if (it->settled && it->stamp == stamp)
                return it->doc;
            known = *it;
        }
    }

    QFile file(resolved);
    const qint64 readAtNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
    if (stamp.size > MaxTextBytes || !file.open(QIODevice::ReadOnly))
        return forget(resolved);
    const bool settled = readAtNs - stamp.modifiedNs > SettleMs * 1000000;
    QByteArray bytes = readWhole(file, stamp.size);
    file.close();
    if (bytes.size() > MaxTextBytes)
        return forget(resolved);
    CacheEntry entry;
    entry.stamp = stamp;
    entry.settled = settled;
    if (known && known->holds(bytes)) {
        // Most reads of a file that changed a moment ago find it as it was, parsed already.
        entry.doc = known->doc;
        entry.utf16Bytes = known->utf16Bytes;
    } else {
        auto parsed = std::make_shared<IniDocument>(parse(bytes));
        index(*parsed);
        if (parsed->encoding == Encoding::Utf16LE)
            entry.utf16Bytes = std::move(bytes);
        entry.doc = std::move(parsed);
    }
    auto doc = entry.doc;
    const QMutexLocker lock(&cacheLock());
    auto& entries = cache();
    if (entries.size() >= 64 && !entries.contains(resolved))
        entries.clear();
    entries.insert(resolved, std::move(entry));
    return doc;
}
} // namespace

std::shared_ptr<const IniDocument> forget(const QString& path)
{
    const QMutexLocker lock(&cacheLock());
    cache().remove(path);
    return emptyDocument();
}

} // namespace Ini

IniFile IniFile::pinned() const
{
    IniFile copy(m_path);
    copy.m_pinned = Ini::load(m_path);
    return copy;
}

std::shared_ptr<const IniDocument> IniFile::document() const
{
    return m_pinned ? m_pinned : Ini::load(m_path);
}

void IniFile::dropCache()
{
    const QMutexLocker lock(&Ini::cacheLock());
    Ini::cache().clear();
}

qint64 IniFile::cacheBytes()
{
    const QMutexLocker lock(&Ini::cacheLock());
    qint64 bytes = 0;
    for (const Ini::CacheEntry& entry : std::as_const(Ini::cache()))
        bytes += entry.doc->keptBytes() + entry.utf16Bytes.capacity();
    return bytes;
}
