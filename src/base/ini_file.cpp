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
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

enum class LineKind : quint8 {
    Blank,    // empty or blanks only, or ignored after a NUL byte
    Comment,  // first non-blank ";": not listed; findable by its exact name when it holds "="
    Section,  // "[name]..." with a "]"
    Key,      // "name=value"
    NoValue,  // text without "=": not found, not listed, hides a later key of its name
};

enum class Terminator : quint8 { None, CrLf, Lf, Cr };

// One line of a file: where its text lies in the document's bytes and what
// kind of line it is. Names and values are found in the text when asked for.
struct Line {
    quint32 start = 0;  // offset of the line's text in IniDocument::text
    quint32 length = 0; // without its terminator
    LineKind kind = LineKind::Blank;
    Terminator terminator = Terminator::None;
    bool hasEquals = false; // a comment line holding "="
};
static_assert(sizeof(Line) == 12, "a line costs twelve bytes beside its text");

// Offsets into a document are 32-bit: a larger file reads as missing.
constexpr qsizetype MaxTextBytes = qsizetype(std::numeric_limits<quint32>::max());

enum class Encoding { Utf8, Ansi, Utf16LE };

bool isBlankByte(char c) { return c == ' ' || c == '\t'; }
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

char foldByte(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlankByte(text[begin]))
        ++begin;
    while (end > begin && isBlankByte(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

qsizetype firstOf(QByteArrayView text, char c)
{
    const void* at = text.isEmpty() ? nullptr : std::memchr(text.data(), c, size_t(text.size()));
    return at ? static_cast<const char*>(at) - text.data() : -1;
}

qsizetype lastOf(QByteArrayView text, char c)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (text[i] == c)
            return i;
    return -1;
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2) {
        const char first = value.front(), last = value.back();
        if ((first == '"' || first == '\'') && first == last)
            return value.sliced(1, value.size() - 2);
    }
    return value;
}

// Names match without regard to ASCII letter case only, as the recorded
// Windows answers show ("É" and "é" are different names). The bytes of the
// two names are in the same encoding, where ASCII bytes stand for themselves.
bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldByte(a[i]) != foldByte(b[i]))
            return false;
    return true;
}

quint64 nameHash(qint64 header, QByteArrayView name)
{
    quint64 h = 14695981039346656037ull ^ (quint64(header + 2) * 0x9E3779B97F4A7C15ull);
    for (char c : name) {
        h ^= uchar(foldByte(c));
        h *= 1099511628211ull;
    }
    // The table takes its cell from the low bits: every bit of the name is mixed into them.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

// The name and value of a line, as spans of the document's bytes.
struct Parts {
    QByteArrayView name;     // section or key name, trimmed
    QByteArrayView rawValue; // key value, trimmed
    QByteArrayView value() const { return unquoted(rawValue); }
};

// Line numbers in an open-addressed table (0 for a free cell, else the line
// number plus one), found by the hash of a name. A third of the cells stay
// free, so that a probe ends soon.
struct LineTable {
    std::vector<quint32> cells;

    void reserve(size_t count) { cells.assign(count + count / 2 + 1, 0); }
    size_t first(quint64 hash) const { return size_t((quint64(quint32(hash)) * cells.size()) >> 32); }
    size_t next(size_t i) const { return i + 1 == cells.size() ? 0 : i + 1; }

    // The first cell from `hash` on whose line `matches`, or the free cell where the probe stopped.
    template <typename Matches>
    quint32& probe(quint64 hash, const Matches& matches)
    {
        for (size_t i = first(hash);; i = next(i))
            if (cells[i] == 0 || matches(cells[i] - 1))
                return cells[i];
    }
    template <typename Matches>
    qsizetype find(quint64 hash, const Matches& matches) const
    {
        if (cells.empty())
            return -1;
        for (size_t i = first(hash);; i = next(i)) {
            if (cells[i] == 0)
                return -1;
            if (matches(cells[i] - 1))
                return qsizetype(cells[i] - 1);
        }
    }
};

} // namespace

// A parsed file.
struct IniDocument {
    // The file's bytes (a UTF-16 file's text as UTF-8), which the lines point
    // into. A write appends the text of the lines it makes.
    QByteArray text;
    std::vector<Line> lines;
    Encoding encoding = Encoding::Utf8;
    qsizetype bomLength = 0;   // a UTF-8 byte-order mark at the start of `text`, kept on write
    bool lossless = true;      // UTF-16 text decoded without loss (else never written back)
    bool tooLarge = false;     // a write would take the text past MaxTextBytes
    qsizetype firstDead = -1;  // the line whose NUL byte hides it and all after it, or -1
    // Lookup tables of a parsed file kept for reading (see index()): the
    // header lines in order, the first header of each name, and the first
    // named line of each name in each section.
    std::vector<quint32> headers;
    LineTable firstSection;
    LineTable firstNamedLine;

    qint64 keptBytes() const
    {
        return qint64(sizeof(IniDocument)) + text.capacity() + qint64(lines.capacity() * sizeof(Line))
            + qint64((headers.capacity() + firstSection.cells.capacity() + firstNamedLine.cells.capacity()) * sizeof(quint32));
    }

    QByteArrayView textOf(const Line& line) const { return QByteArrayView(text).sliced(line.start, line.length); }

    QString decode(QByteArrayView bytes) const
    {
        // UTF-16 files are held as UTF-8 (see parse()).
        return encoding == Encoding::Ansi ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
    }
    QByteArray encode(const QString& text) const
    {
        return encoding == Encoding::Ansi ? text.toLatin1() : text.toUtf8();
    }
    // A name passed to a call in this document's bytes; false when no name
    // of the file can be it (a letter ANSI cannot hold, or broken UTF-16).
    bool encodeName(QStringView name, QVarLengthArray<char, 128>* out) const
    {
        out->clear();
        bool ascii = true;
        for (QChar c : name)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            for (QChar c : name)
                out->append(char(c.unicode()));
            return true;
        }
        if (encoding == Encoding::Ansi) {
            for (QChar c : name) {
                if (c.unicode() > 0xFF)
                    return false;
                out->append(char(uchar(c.unicode())));
            }
            return true;
        }
        if (!name.isValidUtf16())
            return false;
        const QByteArray utf8 = name.toUtf8();
        out->append(utf8.constData(), utf8.size());
        return true;
    }

    Parts partsOf(const Line& line) const
    {
        Parts parts;
        if (line.kind == LineKind::Blank || (line.kind == LineKind::Comment && !line.hasEquals))
            return parts;
        const QByteArrayView t = trimmed(textOf(line));
        if (line.kind == LineKind::Section) {
            parts.name = trimmed(t.sliced(1, lastOf(t, ']') - 1));
        } else if (line.kind == LineKind::NoValue) {
            parts.name = t;
        } else {
            const qsizetype equals = firstOf(t, '=');
            parts.name = trimmed(t.first(equals));
            parts.rawValue = trimmed(t.sliced(equals + 1));
        }
        return parts;
    }
    QByteArrayView nameOf(qsizetype line) const { return partsOf(lines[size_t(line)]).name; }

    // The header a line belongs to, or -1 for the lines before the first header.
    qsizetype headerOf(qsizetype line) const
    {
        const auto after = std::upper_bound(headers.begin(), headers.end(), quint32(line));
        return after == headers.begin() ? -1 : qsizetype(*(after - 1));
    }
};

namespace {

void classify(Line& line, QByteArrayView text)
{
    line.kind = LineKind::Blank;
    line.hasEquals = false;
    const QByteArrayView t = trimmed(text);
    if (t.isEmpty())
        return;
    const qsizetype equals = firstOf(t, '=');
    if (t.front() == ';') {
        line.kind = LineKind::Comment;
        line.hasEquals = equals >= 0;
        return;
    }
    if (t.front() == '[' && lastOf(t, ']') > 0) {
        line.kind = LineKind::Section;
        return;
    }
    line.kind = equals < 0 ? LineKind::NoValue : LineKind::Key;
}

// Whether the bytes are valid UTF-8. Each stretch of bytes that are not
// ASCII is decoded between ASCII bytes, in pieces of about 64 KiB, so that
// the test of a large file does not hold its whole text as UTF-16 at once.
bool isUtf8(QByteArrayView bytes)
{
    constexpr qsizetype Piece = 64 * 1024;
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        if (uchar(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        qsizetype end = std::min(n, i + Piece);
        while (end < n && uchar(bytes[end]) >= 0x80)
            ++end;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString ignored = decoder.decode(bytes.sliced(i, end - i));
        Q_UNUSED(ignored);
        if (decoder.hasError())
            return false;
        i = end;
    }
    return true;
}

Terminator terminatorAt(QByteArrayView bytes, qsizetype i, qsizetype* length)
{
    if (bytes[i] == '\n') {
        *length = 1;
        return Terminator::Lf;
    }
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        *length = 2;
        return Terminator::CrLf;
    }
    *length = 1;
    return Terminator::Cr;
}

QByteArrayView terminatorBytes(Terminator t)
{
    switch (t) {
    case Terminator::CrLf: return "\r\n";
    case Terminator::Lf: return "\n";
    case Terminator::Cr: return "\r";
    case Terminator::None: break;
    }
    return {};
}

qsizetype nextBreak(QByteArrayView bytes, qsizetype from)
{
    const qsizetype n = bytes.size();
    for (qsizetype i = from; i < n; ++i)
        if (bytes[i] == '\r' || bytes[i] == '\n')
            return i;
    return n;
}

// The file's bytes as lines. The caller checks the size against MaxTextBytes.
IniDocument parse(const QByteArray& fileBytes)
{
    IniDocument doc;
    if (fileBytes.startsWith("\xFF\xFE")) {
        // UTF-16LE with a byte-order mark: held as UTF-8 lines, written back as UTF-16LE.
        QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(QByteArrayView(fileBytes).sliced(2));
        doc.encoding = Encoding::Utf16LE;
        doc.lossless = !decoder.hasError() && fileBytes.size() % 2 == 0;
        doc.text = text.toUtf8();
        if (doc.text.size() > MaxTextBytes)
            return IniDocument();
    } else {
        doc.text = fileBytes;
        if (fileBytes.startsWith("\xEF\xBB\xBF"))
            doc.bomLength = 3;
        doc.encoding = isUtf8(QByteArrayView(doc.text).sliced(doc.bomLength)) ? Encoding::Utf8 : Encoding::Ansi;
    }

    const QByteArrayView bytes(doc.text);
    const qsizetype n = bytes.size();
    // Counted first, so that the lines are allocated once at their size.
    size_t count = 0;
    for (qsizetype i = doc.bomLength; i < n;) {
        i = nextBreak(bytes, i);
        if (i < n) {
            qsizetype length = 0;
            terminatorAt(bytes, i, &length);
            i += length;
        }
        ++count;
    }
    doc.lines.reserve(count);
    qsizetype start = doc.bomLength;
    while (start < n) {
        const qsizetype end = nextBreak(bytes, start);
        Line line;
        line.start = quint32(start);
        line.length = quint32(end - start);
        qsizetype next = end;
        if (end < n) {
            qsizetype length = 0;
            line.terminator = terminatorAt(bytes, end, &length);
            next += length;
        }
        doc.lines.push_back(line);
        start = next;
    }
    // A NUL byte inside a line hides that line and every later one, as
    // Windows reads it; a line that starts with NUL reads as empty.
    // Most files hold no NUL byte at all: one look at the whole text says so.
    const bool anyNul = firstOf(bytes, '\0') >= 0;
    bool dead = false;
    for (Line& line : doc.lines) {
        const qsizetype nul = (dead || !anyNul) ? -1 : firstOf(doc.textOf(line), '\0');
        if (nul > 0) {
            dead = true;
            doc.firstDead = &line - doc.lines.data();
        }
        if (dead || nul == 0)
            line.kind = LineKind::Blank;
        else
            classify(line, doc.textOf(line));
    }
    return doc;
}

QByteArray serialise(const IniDocument& doc)
{
    QByteArray body;
    qsizetype size = 0;
    for (const Line& line : doc.lines)
        size += qsizetype(line.length) + terminatorBytes(line.terminator).size();
    body.reserve(size);
    for (const Line& line : doc.lines) {
        body += doc.textOf(line);
        body += terminatorBytes(line.terminator);
    }
    // A file read as ANSI whose last bytes that are not UTF-8 were written
    // over would read back as UTF-8, and its other text would change meaning
    // ("\xC3\xA9" is two letters in ANSI, one in UTF-8): it is then written
    // in UTF-8 whole, each letter as it read before.
    const bool highBytes = std::any_of(body.cbegin(), body.cend(), [](char c) { return uchar(c) >= 0x80; });
    if (doc.encoding == Encoding::Ansi && highBytes && isUtf8(body))
        body = QString::fromLatin1(body).toUtf8();
    QByteArray content = doc.text.first(doc.bomLength) + body;
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

qsizetype nextHeader(const IniDocument& doc, qsizetype from)
{
    qsizetype i = from;
    while (i < qsizetype(doc.lines.size()) && doc.lines[size_t(i)].kind != LineKind::Section)
        ++i;
    return i;
}

Range sectionFrom(const IniDocument& doc, qsizetype header)
{
    Range r;
    r.found = true;
    r.header = header;
    r.begin = header + 1;
    r.end = nextHeader(doc, r.begin);
    return r;
}

// The first section named `section` (already trimmed), by walking the
// lines. The name "" always means the lines before the first header; a
// later "[]" is never reached.
Range findSection(const IniDocument& doc, const QString& section)
{
    if (section.isEmpty())
        return sectionFrom(doc, -1);
    QVarLengthArray<char, 128> wanted;
    if (!doc.encodeName(section, &wanted))
        return {};
    const QByteArrayView name(wanted.constData(), wanted.size());
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        const Line& line = doc.lines[i];
        if (line.kind != LineKind::Section)
            continue;
        const QByteArrayView found = doc.partsOf(line).name;
        if (!found.isEmpty() && sameName(found, name))
            return sectionFrom(doc, qsizetype(i));
    }
    return {};
}

bool isNamedLine(const Line& line)
{
    return line.kind == LineKind::Key || line.kind == LineKind::NoValue
        || (line.kind == LineKind::Comment && line.hasEquals);
}

// Fills the lookup tables of a document that is kept for reading, so that a
// read costs a lookup rather than a walk through the file.
void index(IniDocument& doc)
{
    size_t named = 0;
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        if (doc.lines[i].kind == LineKind::Section)
            doc.headers.push_back(quint32(i));
        else if (isNamedLine(doc.lines[i]))
            ++named;
    }
    doc.headers.shrink_to_fit();
    doc.firstSection.reserve(doc.headers.size());
    doc.firstNamedLine.reserve(named);
    qsizetype header = -1;
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        const Line& line = doc.lines[i];
        if (line.kind == LineKind::Section) {
            header = qsizetype(i);
            const QByteArrayView name = doc.partsOf(line).name;
            if (name.isEmpty())
                continue;
            // The first header of a name wins.
            quint32& slot = doc.firstSection.probe(nameHash(-1, name),
                                                   [&](quint32 other) { return sameName(doc.nameOf(other), name); });
            if (slot == 0)
                slot = quint32(i) + 1;
        } else if (isNamedLine(line)) {
            const QByteArrayView name = doc.partsOf(line).name;
            // The lines of the current section are the ones after its header.
            quint32& slot = doc.firstNamedLine.probe(nameHash(header, name), [&](quint32 other) {
                return qsizetype(other) > header && sameName(doc.nameOf(other), name);
            });
            if (slot == 0)
                slot = quint32(i) + 1;
        }
    }
}

// The header a read of `section` (trimmed, not "") finds by the lookup tables, or -1.
qsizetype findIndexedHeader(const IniDocument& doc, QStringView section)
{
    QVarLengthArray<char, 128> wanted;
    if (!doc.encodeName(section, &wanted))
        return -1;
    const QByteArrayView name(wanted.constData(), wanted.size());
    return doc.firstSection.find(nameHash(-1, name), [&](quint32 line) { return sameName(doc.nameOf(line), name); });
}

Range findIndexedSection(const IniDocument& doc, const QString& section)
{
    if (section.isEmpty())
        return sectionFrom(doc, -1);
    const qsizetype header = findIndexedHeader(doc, section);
    return header < 0 ? Range() : sectionFrom(doc, header);
}

// The line a read of `key` (trimmed) finds, or nullptr. A value-less line
// of that name comes first and hides the key.
const Line* findKey(const IniDocument& doc, const QString& section, const QString& key)
{
    qsizetype header = -1;
    if (!section.isEmpty()) {
        header = findIndexedHeader(doc, section);
        if (header < 0)
            return nullptr;
    }
    QVarLengthArray<char, 128> wanted;
    if (!doc.encodeName(key, &wanted))
        return nullptr;
    const QByteArrayView name(wanted.constData(), wanted.size());
    const qsizetype found = doc.firstNamedLine.find(nameHash(header, name), [&](quint32 line) {
        return sameName(doc.nameOf(line), name) && doc.headerOf(line) == header;
    });
    if (found < 0)
        return nullptr;
    const Line& line = doc.lines[size_t(found)];
    return line.kind == LineKind::NoValue ? nullptr : &line;
}

// A line of the given text appended to the document's bytes.
Line newLine(IniDocument& doc, const QByteArray& text)
{
    Line line;
    if (doc.text.size() + text.size() > MaxTextBytes) {
        doc.tooLarge = true;
        return line;
    }
    line.start = quint32(doc.text.size());
    line.length = quint32(text.size());
    line.terminator = Terminator::CrLf;
    doc.text += text;
    classify(line, text);
    return line;
}

// Applies one write to the parsed file. Returns whether anything changed.
bool applyWrite(IniDocument& doc, const QString& section, const QString& key, const QString& rawValue)
{
    // Leading blanks of a value are not written (as Windows does); the rest verbatim.
    qsizetype lead = 0;
    while (lead < rawValue.size() && isBlank(rawValue[lead]))
        ++lead;
    const QString value = rawValue.mid(lead);
    auto keyLine = [&] { return newLine(doc, doc.encode(key + QLatin1Char('=') + value)); };

    const Range r = findSection(doc, section);
    if (!r.found) {
        // At the end of the file, or before the lines a NUL byte hides, where it could not be read.
        const qsizetype at = doc.firstDead >= 0 ? doc.firstDead : qsizetype(doc.lines.size());
        if (at > 0 && doc.lines[size_t(at - 1)].terminator == Terminator::None)
            doc.lines[size_t(at - 1)].terminator = Terminator::CrLf;
        const Line header = newLine(doc, doc.encode(QLatin1Char('[') + section + QLatin1Char(']')));
        doc.lines.insert(doc.lines.begin() + at, {header, keyLine()});
        if (doc.firstDead >= 0)
            doc.firstDead += 2;
        return true;
    }
    QVarLengthArray<char, 128> wanted;
    const bool nameable = doc.encodeName(key, &wanted);
    const QByteArrayView name(wanted.constData(), wanted.size());
    qsizetype lastEntry = r.header;
    for (qsizetype i = r.begin; i < r.end; ++i) {
        Line& line = doc.lines[size_t(i)];
        if (line.kind != LineKind::Key && line.kind != LineKind::NoValue)
            continue;
        lastEntry = i;
        if (!nameable || !sameName(doc.partsOf(line).name, name))
            continue;
        if (line.kind == LineKind::Key) {
            QString trimmedValue = value;
            while (!trimmedValue.isEmpty() && isBlank(trimmedValue.back()))
                trimmedValue.chop(1);
            if (doc.decode(doc.partsOf(line).rawValue) == trimmedValue)
                return false; // the value it already has: the file stays byte for byte
        }
        const QByteArrayView text = doc.textOf(line);
        const qsizetype equals = firstOf(text, '=');
        const QByteArray kept = equals < 0 ? text.toByteArray() + '=' : text.first(equals + 1).toByteArray();
        const Terminator terminator = line.terminator;
        line = newLine(doc, kept + doc.encode(value));
        line.terminator = terminator;
        return true;
    }
    if (lastEntry >= 0 && doc.lines[size_t(lastEntry)].terminator == Terminator::None)
        doc.lines[size_t(lastEntry)].terminator = Terminator::CrLf;
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

std::shared_ptr<const IniDocument> forget(const QString& path)
{
    const QMutexLocker lock(&cacheLock());
    cache().remove(path);
    return emptyDocument();
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

QString unquote(const QString& value)
{
    if (value.size() >= 2) {
        QChar first = value.front(), last = value.back();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && first == last)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

QString cutDefault(const QString& defaultValue)
{
    // Trailing blanks of a default are cut and one pair of enclosing quotes dropped.
    qsizetype end = defaultValue.size();
    while (end > 0 && isBlank(defaultValue[end - 1]))
        --end;
    return unquote(defaultValue.left(end)).left(IniFile::MaxValueLength);
}

QString valueOf(const IniDocument& doc, const Line& line)
{
    return doc.decode(doc.partsOf(line).value()).left(IniFile::MaxValueLength);
}

} // namespace

IniFile IniFile::pinned() const
{
    IniFile copy(m_path);
    copy.m_pinned = load(m_path);
    return copy;
}

std::shared_ptr<const IniDocument> IniFile::document() const
{
    return m_pinned ? m_pinned : load(m_path);
}

void IniFile::dropCache()
{
    const QMutexLocker lock(&cacheLock());
    cache().clear();
}

qint64 IniFile::cacheBytes()
{
    const QMutexLocker lock(&cacheLock());
    qint64 bytes = 0;
    for (const CacheEntry& entry : std::as_const(cache()))
        bytes += entry.doc->keptBytes() + entry.utf16Bytes.capacity();
    return bytes;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto doc = document();
    const Line* line = findKey(*doc, trimBlanks(section), trimBlanks(key));
    return line ? valueOf(*doc, *line) : cutDefault(defaultValue);
}

QStringList IniFile::readStrings(const QString& section, const QStringList& keys) const
{
    const auto doc = document();
    const QString name = trimBlanks(section);
    QStringList values;
    values.reserve(keys.size());
    for (const QString& key : keys) {
        const Line* line = findKey(*doc, name, trimBlanks(key));
        values << (line ? valueOf(*doc, *line) : QString());
    }
    return values;
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 defaultValue) const
{
    const auto doc = document();
    const Line* line = findKey(*doc, trimBlanks(section), trimBlanks(key));
    if (!line)
        return defaultValue;
    return catalogueInteger(valueOf(*doc, *line), defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList IniFile::sections() const
{
    const auto doc = document();
    QStringList result;
    for (const quint32 header : doc->headers) {
        const QByteArrayView name = doc->nameOf(header);
        if (!name.isEmpty())
            result << doc->decode(name);
    }
    return result;
}

QStringList IniFile::keys(const QString& section) const
{
    const auto doc = document();
    QStringList result;
    const Range r = findIndexedSection(*doc, trimBlanks(section));
    for (qsizetype i = r.begin; r.found && i < r.end; ++i)
        if (doc->lines[size_t(i)].kind == LineKind::Key)
            result << doc->decode(doc->nameOf(i));
    return result;
}

bool IniFile::hasSection(const QString& section) const
{
    const QString name = trimBlanks(section);
    if (name.isEmpty())
        return !keys(name).isEmpty();
    return findIndexedSection(*document(), name).found;
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
        if (!file.open(QIODevice::ReadOnly) || file.size() > MaxTextBytes)
            return fail();
        original = file.readAll();
        if (file.error() != QFileDevice::NoError || original.size() > MaxTextBytes)
            return fail();
    }
    IniDocument doc = parse(original);
    const QString section = trimBlanks(rawSection);
    bool changed = false;
    for (const auto& [key, value] : values)
        changed = applyWrite(doc, section, trimBlanks(key), value) || changed;
    if (!changed && exists)
        return true;
    if (!doc.lossless || doc.tooLarge)
        return fail();
    const QString target = exists ? existing : m_path;
    const bool written = writeFileAtomically(target, serialise(doc));
    m_pinned.reset();
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
