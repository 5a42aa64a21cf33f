#include "base/ini_file.h"

#include "base/catalogue_integer.h"
#include "base/file_lookup.h"
#include "base/safe_write.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

enum class LineKind {
    Blank,    // empty or blanks only, or ignored after a NUL byte
    Comment,  // first non-blank ";": not listed; findable by its exact name when it holds "="
    Section,  // "[name]..." with a "]"
    Key,      // "name=value"
    NoValue,  // text without "=": not found, not listed, hides a later key of its name
};

struct Line {
    QByteArray text;       // the line without its terminator
    QByteArray terminator; // "\r\n", "\n", "\r" or empty at the end of the file
    LineKind kind = LineKind::Blank;
    bool hasEquals = false; // a comment line holding "="
    QString name;          // section or key name, trimmed
    QString rawValue;      // key value, trimmed
    QString value;         // key value, trimmed and unquoted
};

enum class Encoding { Utf8, Ansi, Utf16LE };

struct Document {
    std::vector<Line> lines;
    Encoding encoding = Encoding::Utf8;
    QByteArray bom;            // UTF-8 byte-order mark kept in front of the text
    bool lossless = true;      // UTF-16 text decoded without loss (else never written back)
    qsizetype firstDead = -1;  // the line whose NUL byte hides it and all after it, or -1
    // Lookup tables of a parsed file kept for reading (see index()): the
    // first header of each name, and the first named line of each name in
    // each section.
    QHash<QString, qsizetype> firstSection;
    QHash<QString, qsizetype> firstNamedLine;

    QString decode(const QByteArray& bytes) const
    {
        // UTF-16 files are held as UTF-8 lines (see parse()).
        return encoding == Encoding::Ansi ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
    }
    QByteArray encode(const QString& text) const
    {
        return encoding == Encoding::Ansi ? text.toLatin1() : text.toUtf8();
    }
};

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

QString unquote(const QString& value)
{
    if (value.size() >= 2) {
        QChar first = value.front(), last = value.back();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && first == last)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// Names match without regard to ASCII letter case only, as the recorded
// Windows answers show ("É" and "é" are different names).
bool sameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= u'a' && x <= u'z')
            x = char16_t(x - u'a' + u'A');
        if (y >= u'a' && y <= u'z')
            y = char16_t(y - u'a' + u'A');
        if (x != y)
            return false;
    }
    return true;
}

void classify(const Document& doc, Line& line)
{
    line.kind = LineKind::Blank;
    line.hasEquals = false;
    line.name.clear();
    line.rawValue.clear();
    line.value.clear();
    const QString trimmed = trimBlanks(doc.decode(line.text));
    if (trimmed.isEmpty())
        return;
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    auto takeKey = [&] {
        line.name = trimBlanks(QStringView(trimmed).left(equals));
        line.rawValue = trimBlanks(QStringView(trimmed).mid(equals + 1));
        line.value = unquote(line.rawValue);
    };
    if (trimmed.startsWith(QLatin1Char(';'))) {
        line.kind = LineKind::Comment;
        if (equals >= 0) {
            line.hasEquals = true;
            takeKey();
        }
        return;
    }
    if (trimmed.startsWith(QLatin1Char('['))) {
        const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = LineKind::Section;
            line.name = trimBlanks(QStringView(trimmed).mid(1, close - 1));
            return;
        }
    }
    if (equals < 0) {
        line.kind = LineKind::NoValue;
        line.name = trimmed;
        return;
    }
    line.kind = LineKind::Key;
    takeKey();
}

bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(bytes);
    Q_UNUSED(ignored);
    return !decoder.hasError();
}

Document parse(const QByteArray& fileBytes)
{
    Document doc;
    QByteArray bytes = fileBytes;
    if (bytes.startsWith("\xFF\xFE")) {
        // UTF-16LE with a byte-order mark: held as UTF-8 lines, written back as UTF-16LE.
        QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
        doc.encoding = Encoding::Utf16LE;
        doc.lossless = !decoder.hasError() && bytes.size() % 2 == 0;
        bytes = text.toUtf8();
    } else {
        if (bytes.startsWith("\xEF\xBB\xBF")) {
            doc.bom = bytes.left(3);
            bytes.remove(0, 3);
        }
        doc.encoding = isUtf8(bytes) ? Encoding::Utf8 : Encoding::Ansi;
    }

    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype i = start;
        while (i < n && bytes[i] != '\r' && bytes[i] != '\n')
            ++i;
        Line line;
        line.text = bytes.mid(start, i - start);
        if (i < n) {
            qsizetype termLength = (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n') ? 2 : 1;
            line.terminator = bytes.mid(i, termLength);
            i += termLength;
        }
        doc.lines.push_back(std::move(line));
        start = i;
    }
    // A NUL byte inside a line hides that line and every later one, as
    // Windows reads it; a line that starts with NUL reads as empty.
    bool dead = false;
    for (Line& line : doc.lines) {
        const qsizetype nul = line.text.indexOf('\0');
        if (nul > 0 && !dead) {
            dead = true;
            doc.firstDead = &line - doc.lines.data();
        }
        if (dead || nul == 0)
            line.kind = LineKind::Blank;
        else
            classify(doc, line);
    }
    return doc;
}

QByteArray serialise(const Document& doc)
{
    QByteArray body;
    for (const Line& line : doc.lines)
        body += line.text + line.terminator;
    // A file read as ANSI whose last bytes that are not UTF-8 were written
    // over would read back as UTF-8, and its other text would change meaning
    // ("\xC3\xA9" is two letters in ANSI, one in UTF-8): it is then written
    // in UTF-8 whole, each letter as it read before.
    const bool highBytes = std::any_of(body.cbegin(), body.cend(), [](char c) { return uchar(c) >= 0x80; });
    if (doc.encoding == Encoding::Ansi && highBytes && isUtf8(body))
        body = QString::fromLatin1(body).toUtf8();
    QByteArray content = doc.bom + body;
    if (doc.encoding == Encoding::Utf16LE) {
        QStringEncoder encoder(QStringEncoder::Utf16LE);
        content = QByteArray("\xFF\xFE") + QByteArray(encoder.encode(QString::fromUtf8(content)));
    }
    return content;
}

// The lines of one section: the header (-1 for the section "" of the lines
// before the first header) and its body [begin, end).
struct Range {
    bool found = false;
    qsizetype header = -1;
    qsizetype begin = 0;
    qsizetype end = 0;
};

qsizetype nextHeader(const Document& doc, qsizetype from)
{
    qsizetype i = from;
    while (i < qsizetype(doc.lines.size()) && doc.lines[size_t(i)].kind != LineKind::Section)
        ++i;
    return i;
}

// The first section named `section` (already trimmed). The name "" always
// means the lines before the first header; a later "[]" is never reached.
Range findSection(const Document& doc, const QString& section)
{
    Range r;
    if (section.isEmpty()) {
        r.found = true;
        r.header = -1;
        r.begin = 0;
        r.end = nextHeader(doc, 0);
        return r;
    }
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        const Line& line = doc.lines[i];
        if (line.kind == LineKind::Section && !line.name.isEmpty() && sameName(line.name, section)) {
            r.found = true;
            r.header = qsizetype(i);
            r.begin = qsizetype(i) + 1;
            r.end = nextHeader(doc, r.begin);
            return r;
        }
    }
    return r;
}

bool isNamedLine(const Line& line)
{
    return line.kind == LineKind::Key || line.kind == LineKind::NoValue
        || (line.kind == LineKind::Comment && line.hasEquals);
}

// A name with ASCII letters in upper case: the key of the lookup tables.
QString folded(const QString& name)
{
    QString out = name;
    for (QChar& c : out)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(char16_t(c.unicode() - u'a' + u'A'));
    return out;
}

QString lineKey(qsizetype header, const QString& name)
{
    return QString::number(header) + QChar(u'\0') + folded(name);
}

// Fills the lookup tables of a document that is kept for reading, so that a
// read costs a lookup rather than a walk through the file.
void index(Document& doc)
{
    qsizetype header = -1;
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        const Line& line = doc.lines[i];
        if (line.kind == LineKind::Section) {
            header = qsizetype(i);
        } else if (isNamedLine(line)) {
            const QString key = lineKey(header, line.name);
            if (!doc.firstNamedLine.contains(key))
                doc.firstNamedLine.insert(key, qsizetype(i));
        }
    }
    // The first header of a name wins: walking backwards, earlier ones overwrite later ones.
    for (qsizetype i = qsizetype(doc.lines.size()) - 1; i >= 0; --i) {
        const Line& line = doc.lines[size_t(i)];
        if (line.kind == LineKind::Section && !line.name.isEmpty())
            doc.firstSection.insert(folded(line.name), i);
    }
}

// The section a read of `section` (trimmed) finds, by the lookup tables.
Range findIndexedSection(const Document& doc, const QString& section)
{
    if (section.isEmpty())
        return findSection(doc, section);
    Range r;
    const auto it = doc.firstSection.constFind(folded(section));
    if (it == doc.firstSection.cend())
        return r;
    r.found = true;
    r.header = *it;
    r.begin = *it + 1;
    r.end = nextHeader(doc, r.begin);
    return r;
}

// The line a read of `key` (trimmed) finds, or nullptr. A value-less line
// of that name comes first and hides the key.
const Line* findKey(const Document& doc, const QString& section, const QString& key)
{
    qsizetype header = -1;
    if (!section.isEmpty()) {
        const auto found = doc.firstSection.constFind(folded(section));
        if (found == doc.firstSection.cend())
            return nullptr;
        header = *found;
    }
    const auto it = doc.firstNamedLine.constFind(lineKey(header, key));
    if (it == doc.firstNamedLine.cend())
        return nullptr;
    const Line& line = doc.lines[size_t(*it)];
    return line.kind == LineKind::NoValue ? nullptr : &line;
}

// Applies one write to the parsed file. Returns whether anything changed.
bool applyWrite(Document& doc, const QString& section, const QString& key, const QString& rawValue)
{
    const QByteArray crlf("\r\n");
    // Leading blanks of a value are not written (as Windows does); the rest verbatim.
    qsizetype lead = 0;
    while (lead < rawValue.size() && isBlank(rawValue[lead]))
        ++lead;
    const QString value = rawValue.mid(lead);
    auto keyLine = [&] {
        Line line;
        line.text = doc.encode(key + QLatin1Char('=') + value);
        line.terminator = crlf;
        classify(doc, line);
        return line;
    };

    const Range r = findSection(doc, section);
    if (!r.found) {
        // At the end of the file, or before the lines a NUL byte hides, where it could not be read.
        const qsizetype at = doc.firstDead >= 0 ? doc.firstDead : qsizetype(doc.lines.size());
        if (at > 0 && doc.lines[size_t(at - 1)].terminator.isEmpty())
            doc.lines[size_t(at - 1)].terminator = crlf;
        Line header;
        header.text = doc.encode(QLatin1Char('[') + section + QLatin1Char(']'));
        header.terminator = crlf;
        classify(doc, header);
        doc.lines.insert(doc.lines.begin() + at, {std::move(header), keyLine()});
        if (doc.firstDead >= 0)
            doc.firstDead += 2;
        return true;
    }
    qsizetype lastEntry = r.header;
    for (qsizetype i = r.begin; i < r.end; ++i) {
        Line& line = doc.lines[size_t(i)];
        if (line.kind != LineKind::Key && line.kind != LineKind::NoValue)
            continue;
        lastEntry = i;
        if (!sameName(line.name, key))
            continue;
        if (line.kind == LineKind::Key && line.rawValue == trimBlanks(value))
            return false; // the value it already has: the file stays byte for byte
        const qsizetype equals = line.text.indexOf('=');
        line.text = equals < 0 ? line.text + '=' + doc.encode(value) : line.text.left(equals + 1) + doc.encode(value);
        classify(doc, line);
        return true;
    }
    if (lastEntry >= 0 && doc.lines[size_t(lastEntry)].terminator.isEmpty())
        doc.lines[size_t(lastEntry)].terminator = crlf;
    doc.lines.insert(doc.lines.begin() + (lastEntry + 1), keyLine());
    if (doc.firstDead >= 0 && lastEntry + 1 <= doc.firstDead)
        ++doc.firstDead;
    return true;
}

// --- The parsed-file cache ---------------------------------------------

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
    QByteArray bytes;
    std::shared_ptr<const Document> doc;
    FileStamp stamp;
    bool settled = false;
};

// A script may read the catalogue on a thread of its own while the editor
// reads it too: the cache is used under this lock. A parsed document is
// never changed once made, so it is read outside the lock.
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

std::shared_ptr<const Document> emptyDocument()
{
    static const auto empty = std::make_shared<const Document>();
    return empty;
}

std::shared_ptr<const Document> load(const QString& path)
{
    const QMutexLocker lock(&cacheLock());
    auto& entries = cache();
    FileStamp stamp;
    QString resolved = path;
    if (!stampOf(resolved, &stamp)) {
        resolved = resolveCatalogueFile(path);
        if (resolved == path || !stampOf(resolved, &stamp)) {
            entries.remove(path);
            return emptyDocument();
        }
    }
    auto it = entries.find(resolved);
    if (it != entries.end() && it->settled && it->stamp == stamp)
        return it->doc;

    QFile file(resolved);
    const qint64 readAtNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
    if (!file.open(QIODevice::ReadOnly)) {
        entries.remove(resolved);
        return emptyDocument();
    }
    const bool settled = readAtNs - stamp.modifiedNs > SettleMs * 1000000;
    // Most reads of a file that changed a moment ago find it as it was, parsed already.
    QByteArray bytes = file.readAll();
    if (it != entries.end() && it->bytes == bytes) {
        it->stamp = stamp;
        it->settled = settled;
        return it->doc;
    }
    if (entries.size() >= 64)
        entries.clear();
    CacheEntry entry;
    auto parsed = std::make_shared<Document>(parse(bytes));
    index(*parsed);
    entry.doc = std::move(parsed);
    entry.bytes = std::move(bytes);
    entry.stamp = stamp;
    entry.settled = settled;
    auto doc = entry.doc;
    entries.insert(resolved, std::move(entry));
    return doc;
}

QString cutDefault(const QString& defaultValue)
{
    // Trailing blanks of a default are cut and one pair of enclosing quotes dropped.
    qsizetype end = defaultValue.size();
    while (end > 0 && isBlank(defaultValue[end - 1]))
        --end;
    return unquote(defaultValue.left(end)).left(IniFile::MaxValueLength);
}

} // namespace

void IniFile::dropCache()
{
    const QMutexLocker lock(&cacheLock());
    cache().clear();
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto doc = load(m_path);
    const Line* line = findKey(*doc, trimBlanks(section), trimBlanks(key));
    if (!line)
        return cutDefault(defaultValue);
    return line->value.left(MaxValueLength);
}

QStringList IniFile::readStrings(const QString& section, const QStringList& keys) const
{
    const auto doc = load(m_path);
    const QString name = trimBlanks(section);
    QStringList values;
    values.reserve(keys.size());
    for (const QString& key : keys) {
        const Line* line = findKey(*doc, name, trimBlanks(key));
        values << (line ? line->value.left(MaxValueLength) : QString());
    }
    return values;
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 defaultValue) const
{
    const auto doc = load(m_path);
    const Line* line = findKey(*doc, trimBlanks(section), trimBlanks(key));
    if (!line)
        return defaultValue;
    return catalogueInteger(line->value.left(MaxValueLength), defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList IniFile::sections() const
{
    const auto doc = load(m_path);
    QStringList result;
    for (const Line& line : doc->lines)
        if (line.kind == LineKind::Section && !line.name.isEmpty())
            result << line.name;
    return result;
}

QStringList IniFile::keys(const QString& section) const
{
    const auto doc = load(m_path);
    QStringList result;
    const Range r = findIndexedSection(*doc, trimBlanks(section));
    for (qsizetype i = r.begin; r.found && i < r.end; ++i)
        if (doc->lines[size_t(i)].kind == LineKind::Key)
            result << doc->lines[size_t(i)].name;
    return result;
}

bool IniFile::hasSection(const QString& section) const
{
    const QString name = trimBlanks(section);
    if (name.isEmpty())
        return !keys(name).isEmpty();
    return findIndexedSection(*load(m_path), name).found;
}

bool IniFile::writeStrings(const QString& rawSection, const KeyValues& values, QString* error)
{
    auto fail = [&] {
        if (error)
            *error = QStringLiteral("Unable to write to %1").arg(m_path);
        return false;
    };
    const QString existing = resolveCatalogueFile(m_path);
    const bool exists = QFile::exists(existing);
    QByteArray original;
    if (exists) {
        QFile file(existing);
        if (!file.open(QIODevice::ReadOnly))
            return fail();
        original = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return fail();
    }
    Document doc = parse(original);
    const QString section = trimBlanks(rawSection);
    bool changed = false;
    for (const auto& [key, value] : values)
        changed = applyWrite(doc, section, trimBlanks(key), value) || changed;
    if (!changed && exists)
        return true;
    if (!doc.lossless)
        return fail();
    const QString target = exists ? existing : m_path;
    const bool written = writeFileAtomically(target, serialise(doc));
    {
        const QMutexLocker lock(&cacheLock());
        cache().remove(target);
    }
    return written ? true : fail();
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value, QString* error)
{
    return writeStrings(section, {{key, value}}, error);
}

bool IniFile::writeInteger(const QString& section, const QString& key, qint32 value, QString* error)
{
    return writeString(section, key, QString::number(value), error);
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value, QString* error)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"), error);
}
