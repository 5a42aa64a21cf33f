#include "catalogue/ini_file.h"

#include "catalogue/catalogue_integer.h"
#include "catalogue/file_lookup.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <vector>

namespace {

enum class LineKind { Other, Section, Key };

struct Line {
    QByteArray text;       // the line without its terminator
    QByteArray terminator; // "\r\n", "\n", "\r" or empty at the end of the file
    LineKind kind = LineKind::Other;
    QString name;          // section or key name, trimmed
    QString value;         // key value, trimmed and unquoted
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

struct Document {
    std::vector<Line> lines;
    bool utf8 = true;

    QString decode(const QByteArray& bytes) const
    {
        return utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    }
    QByteArray encode(const QString& text) const
    {
        return utf8 ? text.toUtf8() : text.toLatin1();
    }
};

void classify(Document& doc, Line& line)
{
    QString text = doc.decode(line.text);
    QString trimmed = trimBlanks(text);
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
        return;
    if (trimmed.startsWith(QLatin1Char('['))) {
        qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        QStringView inner = QStringView(trimmed).mid(1, close < 0 ? -1 : close - 1);
        line.kind = LineKind::Section;
        line.name = trimBlanks(inner);
        return;
    }
    line.kind = LineKind::Key;
    qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals < 0) {
        line.name = trimmed;
        return;
    }
    line.name = trimBlanks(QStringView(trimmed).left(equals));
    line.value = unquote(trimBlanks(QStringView(trimmed).mid(equals + 1)));
}

Document parse(const QByteArray& bytes)
{
    Document doc;
    {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString ignored = decoder.decode(bytes);
        Q_UNUSED(ignored);
        doc.utf8 = !decoder.hasError();
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
    for (Line& line : doc.lines)
        classify(doc, line);
    return doc;
}

Document load(const QString& path)
{
    QFile file(resolveCatalogueFile(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Index of the first header matching `section`, or -1.
qsizetype findSection(const Document& doc, const QString& section)
{
    for (size_t i = 0; i < doc.lines.size(); ++i)
        if (doc.lines[i].kind == LineKind::Section && sameName(doc.lines[i].name, section))
            return qsizetype(i);
    return -1;
}

// One past the last line that belongs to the section whose header is at `header`.
qsizetype sectionEnd(const Document& doc, qsizetype header)
{
    qsizetype i = header + 1;
    while (i < qsizetype(doc.lines.size()) && doc.lines[i].kind != LineKind::Section)
        ++i;
    return i;
}

const Line* findKey(const Document& doc, const QString& section, const QString& key)
{
    qsizetype header = findSection(doc, section);
    if (header < 0)
        return nullptr;
    for (qsizetype i = header + 1, end = sectionEnd(doc, header); i < end; ++i)
        if (doc.lines[i].kind == LineKind::Key && sameName(doc.lines[i].name, key))
            return &doc.lines[i];
    return nullptr;
}

} // namespace

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    Document doc = load(m_path);
    const Line* line = findKey(doc, section, key);
    if (!line)
        return defaultValue;
    return line->value.left(MaxValueLength);
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 defaultValue) const
{
    Document doc = load(m_path);
    const Line* line = findKey(doc, section, key);
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
    Document doc = load(m_path);
    QStringList result;
    for (const Line& line : doc.lines)
        if (line.kind == LineKind::Section)
            result << line.name;
    return result;
}

QStringList IniFile::keys(const QString& section) const
{
    Document doc = load(m_path);
    QStringList result;
    qsizetype header = findSection(doc, section);
    if (header < 0)
        return result;
    for (qsizetype i = header + 1, end = sectionEnd(doc, header); i < end; ++i)
        if (doc.lines[i].kind == LineKind::Key)
            result << doc.lines[i].name;
    return result;
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(load(m_path), section) >= 0;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value, QString* error)
{
    const QString existing = resolveCatalogueFile(m_path);
    QByteArray original;
    {
        QFile file(existing);
        if (file.exists()) {
            if (!file.open(QIODevice::ReadOnly)) {
                if (error)
                    *error = QStringLiteral("Unable to write to %1").arg(m_path);
                return false;
            }
            original = file.readAll();
        }
    }
    Document doc = parse(original);
    const QByteArray crlf("\r\n");
    auto keyLine = [&](const QString& name) { return doc.encode(name + QLatin1Char('=') + value); };

    qsizetype header = findSection(doc, section);
    if (header < 0) {
        if (!doc.lines.empty() && doc.lines.back().terminator.isEmpty())
            doc.lines.back().terminator = crlf;
        doc.lines.push_back(Line{doc.encode(QLatin1Char('[') + section + QLatin1Char(']')), crlf, LineKind::Section, section, {}});
        doc.lines.push_back(Line{keyLine(key), crlf, LineKind::Key, key, value});
    } else {
        qsizetype end = sectionEnd(doc, header);
        qsizetype lastEntry = header;
        bool replaced = false;
        for (qsizetype i = header + 1; i < end; ++i) {
            Line& line = doc.lines[i];
            if (line.kind != LineKind::Key)
                continue;
            lastEntry = i;
            if (sameName(line.name, key)) {
                qsizetype equals = line.text.indexOf('=');
                line.text = equals < 0 ? line.text + '=' + doc.encode(value)
                                       : line.text.left(equals + 1) + doc.encode(value);
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            Line& before = doc.lines[lastEntry];
            if (before.terminator.isEmpty())
                before.terminator = crlf;
            doc.lines.insert(doc.lines.begin() + lastEntry + 1, Line{keyLine(key), crlf, LineKind::Key, key, value});
        }
    }

    QByteArray content;
    for (const Line& line : doc.lines)
        content += line.text + line.terminator;

    QSaveFile file(QFile::exists(existing) ? existing : m_path);
    bool ok = file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
    if (!ok) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("Unable to write to %1").arg(m_path);
    }
    return ok;
}

bool IniFile::writeInteger(const QString& section, const QString& key, qint32 value, QString* error)
{
    return writeString(section, key, QString::number(value), error);
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value, QString* error)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"), error);
}
