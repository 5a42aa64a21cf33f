#include "base/ini_file.h"

#include "base/catalogue_integer.h"
#include "base/ini_text.h"

// The reads. The INI layer's other jobs lie beside this file: reading a
// file's bytes into lines and its encoding in ini_text, the lookup tables in
// ini_lookup, the write editor and writing back in ini_edit, the shared cache
// and the pinned copies in ini_cache.

namespace {

QString unquote(const QString& value)
{
    if (value.size() >= 2) {
        QChar first = value.front(), last = value.back();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && first == last)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

QString cutDefault(const QString& defaultValue)
{
    // Trailing blanks of a default are cut and one pair of enclosing quotes dropped.
    qsizetype end = defaultValue.size();
    while (end > 0 && Ini::isBlank(defaultValue[end - 1]))
        --end;
    return unquote(defaultValue.left(end)).left(IniFile::MaxValueLength);
}

QString valueOf(const IniDocument& doc, const Ini::Line& line)
{
    return doc.decode(doc.partsOf(line).value()).left(IniFile::MaxValueLength);
}

} // namespace

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto doc = document();
    const Ini::Line* line = Ini::findKey(*doc, Ini::trimBlanks(section), Ini::trimBlanks(key));
    return line ? valueOf(*doc, *line) : cutDefault(defaultValue);
}

QStringList IniFile::readStrings(const QString& section, const QStringList& keys) const
{
    const auto doc = document();
    const QString name = Ini::trimBlanks(section);
    QStringList values;
    values.reserve(keys.size());
    for (const QString& key : keys) {
        const Ini::Line* line = Ini::findKey(*doc, name, Ini::trimBlanks(key));
        values << (line ? valueOf(*doc, *line) : QString());
    }
    return values;
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 defaultValue) const
{
    const auto doc = document();
    const Ini::Line* line = Ini::findKey(*doc, Ini::trimBlanks(section), Ini::trimBlanks(key));
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
    const Ini::Range r = Ini::findIndexedSection(*doc, Ini::trimBlanks(section));
    for (qsizetype i = r.begin; r.found && i < r.end; ++i)
        if (doc->lines[size_t(i)].kind == Ini::LineKind::Key)
            result << doc->decode(doc->nameOf(i));
    return result;
}

bool IniFile::hasSection(const QString& section) const
{
    const QString name = Ini::trimBlanks(section);
    if (name.isEmpty())
        return !keys(name).isEmpty();
    return Ini::findIndexedSection(*document(), name).found;
}
