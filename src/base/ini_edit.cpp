#include "base/ini_cache.h"
#include "base/ini_file.h"
#include "base/ini_text.h"

#include "base/file_lookup.h"
#include "base/safe_write.h"

#include <QFile>
#include <QStringEncoder>

// The write editor: a write changes the lines of the parsed file it must,
// and the whole file is written back from them.

namespace Ini {

namespace {

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

} // namespace

} // namespace Ini

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
        if (!file.open(QIODevice::ReadOnly) || file.size() > Ini::MaxTextBytes)
            return fail();
        original = file.readAll();
        if (file.error() != QFileDevice::NoError || original.size() > Ini::MaxTextBytes)
            return fail();
    }
    IniDocument doc = Ini::parse(original);
    const QString section = Ini::trimBlanks(rawSection);
    bool changed = false;
    for (const auto& [key, value] : values)
        changed = Ini::applyWrite(doc, section, Ini::trimBlanks(key), value) || changed;
    if (!changed && exists)
        return true;
    if (!doc.lossless || doc.tooLarge)
        return fail();
    const QString target = exists ? existing : m_path;
    const bool written = writeFileAtomically(target, Ini::serialise(doc));
    m_pinned.reset();
    Ini::forget(target);
    return written ? true : fail();
}

bool IniFile::removeKeys(const QString& rawSection, const QStringList& keys, QString* error)
{
    auto fail = [&] {
        if (error)
            *error = QStringLiteral("Unable to write to %1").arg(m_path);
        return false;
    };
    const QString existing = resolveCatalogueFile(m_path);
    if (!QFile::exists(existing))
        return true;
    QFile file(existing);
    if (!file.open(QIODevice::ReadOnly) || file.size() > Ini::MaxTextBytes)
        return fail();
    const QByteArray original = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail();
    IniDocument doc = Ini::parse(original);
    bool changed = false;
    for (const QString& rawKey : keys) {
        const Ini::Range r = Ini::findSection(doc, Ini::trimBlanks(rawSection));
        QVarLengthArray<char, 128> wanted;
        if (!r.found || !doc.encodeName(Ini::trimBlanks(rawKey), &wanted))
            continue;
        const QByteArrayView name(wanted.constData(), wanted.size());
        for (qsizetype i = r.begin; i < r.end; ++i) {
            const Ini::Line& line = doc.lines[size_t(i)];
            if ((line.kind != Ini::LineKind::Key && line.kind != Ini::LineKind::NoValue) ||
                !Ini::sameName(doc.partsOf(line).name, name))
                continue;
            doc.lines.erase(doc.lines.begin() + i);
            if (doc.firstDead > i)
                --doc.firstDead;
            changed = true;
            break;
        }
    }
    if (!changed)
        return true;
    if (!doc.lossless)
        return fail();
    const bool written = writeFileAtomically(existing, Ini::serialise(doc));
    m_pinned.reset();
    Ini::forget(existing);
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
