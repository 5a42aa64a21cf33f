#include "base/ini_lookup.h"

#include "base/ini_text.h"

namespace Ini {

namespace {

qsizetype nextHeader(const IniDocument& doc, qsizetype from)
{
    qsizetype i = from;
    while (i < qsizetype(doc.lines.size()) && doc.lines[size_t(i)].kind != LineKind::Section)
        ++i;
    return i;
}

bool isNamedLine(const Line& line)
{
    return line.kind == LineKind::Key || line.kind == LineKind::NoValue
        || (line.kind == LineKind::Comment && line.hasEquals);
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

} // namespace

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

} // namespace Ini
