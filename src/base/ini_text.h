#pragma once

#include "base/ini_lookup.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

// A catalogue (INI) file's bytes read into lines: the kind of each line, its
// terminator, and the encoding of the file's text. Part of the INI layer
// behind base/ini_file.h; the lookup tables a parsed file carries are filled
// and used in base/ini_lookup.

namespace Ini {

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

inline bool isBlankByte(char c) { return c == ' ' || c == '\t'; }
inline bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

inline QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlankByte(text[begin]))
        ++begin;
    while (end > begin && isBlankByte(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

inline qsizetype firstOf(QByteArrayView text, char c)
{
    const void* at = text.isEmpty() ? nullptr : std::memchr(text.data(), c, size_t(text.size()));
    return at ? static_cast<const char*>(at) - text.data() : -1;
}

inline qsizetype lastOf(QByteArrayView text, char c)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (text[i] == c)
            return i;
    return -1;
}

inline QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2) {
        const char first = value.front(), last = value.back();
        if ((first == '"' || first == '\'') && first == last)
            return value.sliced(1, value.size() - 2);
    }
    return value;
}

// The name and value of a line, as spans of the document's bytes.
struct Parts {
    QByteArrayView name;     // section or key name, trimmed
    QByteArrayView rawValue; // key value, trimmed
    QByteArrayView value() const { return unquoted(rawValue); }
};

void classify(Line& line, QByteArrayView text);
bool isUtf8(QByteArrayView bytes);
QByteArrayView terminatorBytes(Terminator t);
// A name passed to a call, without the spaces and tabs around it.
QString trimBlanks(QStringView text);

} // namespace Ini

// A parsed file.
struct IniDocument {
    // The file's bytes (a UTF-16 file's text as UTF-8), which the lines point
    // into. A write appends the text of the lines it makes.
    QByteArray text;
    std::vector<Ini::Line> lines;
    Ini::Encoding encoding = Ini::Encoding::Utf8;
    qsizetype bomLength = 0;   // a UTF-8 byte-order mark at the start of `text`, kept on write
    bool lossless = true;      // UTF-16 text decoded without loss (else never written back)
    bool tooLarge = false;     // a write would take the text past MaxTextBytes
    qsizetype firstDead = -1;  // the line whose NUL byte hides it and all after it, or -1
    // Lookup tables of a parsed file kept for reading (see index()): the
    // header lines in order, the first header of each name, and the first
    // named line of each name in each section.
    std::vector<quint32> headers;
    Ini::LineTable firstSection;
    Ini::LineTable firstNamedLine;

    qint64 keptBytes() const
    {
        return qint64(sizeof(IniDocument)) + text.capacity() + qint64(lines.capacity() * sizeof(Ini::Line))
            + qint64((headers.capacity() + firstSection.cells.capacity() + firstNamedLine.cells.capacity()) * sizeof(quint32));
    }

    QByteArrayView textOf(const Ini::Line& line) const { return QByteArrayView(text).sliced(line.start, line.length); }

    QString decode(QByteArrayView bytes) const
    {
        // UTF-16 files are held as UTF-8 (see parse()).
        return encoding == Ini::Encoding::Ansi ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
    }
    QByteArray encode(const QString& text) const
    {
        return encoding == Ini::Encoding::Ansi ? text.toLatin1() : text.toUtf8();
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
        if (encoding == Ini::Encoding::Ansi) {
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

    Ini::Parts partsOf(const Ini::Line& line) const
    {
        Ini::Parts parts;
        if (line.kind == Ini::LineKind::Blank || (line.kind == Ini::LineKind::Comment && !line.hasEquals))
            return parts;
        const QByteArrayView t = Ini::trimmed(textOf(line));
        if (line.kind == Ini::LineKind::Section) {
            parts.name = Ini::trimmed(t.sliced(1, Ini::lastOf(t, ']') - 1));
        } else if (line.kind == Ini::LineKind::NoValue) {
            parts.name = t;
        } else {
            const qsizetype equals = Ini::firstOf(t, '=');
            parts.name = Ini::trimmed(t.first(equals));
            parts.rawValue = Ini::trimmed(t.sliced(equals + 1));
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

namespace Ini {

// The file's bytes as lines. The caller checks the size against MaxTextBytes.
IniDocument parse(const QByteArray& fileBytes);

} // namespace Ini
