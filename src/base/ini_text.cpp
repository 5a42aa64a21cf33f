#include "base/ini_text.h"

#include <QStringDecoder>

namespace Ini {

namespace {

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

qsizetype nextBreak(QByteArrayView bytes, qsizetype from)
{
    const qsizetype n = bytes.size();
    for (qsizetype i = from; i < n; ++i)
        if (bytes[i] == '\r' || bytes[i] == '\n')
            return i;
    return n;
}

} // namespace

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

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

} // namespace Ini
