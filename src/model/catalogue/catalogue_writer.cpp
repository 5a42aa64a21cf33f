#include "model/catalogue/catalogue_writer.h"

#include "base/ini_text.h"
#include "base/safe_write.h"
#include "model/catalogue/map_record.h"
#include "model/catalogue/number_form.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString StartKey = QStringLiteral("Start offset");

QString hex(qint64 v)
{
    return QString::number(quint64(qMax<qint64>(v, 0)), 16).toUpper();
}

// The keys of one section written to one file, each number in the form the
// file already gives it: the key's own value when it has one, else for an
// offset the form most of the file's offsets use, else decimal.
class SectionWrite {
public:
    // `text`: the file's text as recorded before the change.
    SectionWrite(IniFile& file, QString section, const CatalogueFilesChange& change)
        : m_file(file), m_section(std::move(section))
    {
        for (const CatalogueFileText& f : change.files())
            if (f.path == QFileInfo(file.path()).absoluteFilePath())
                m_text = f.before.value_or(QByteArray());
    }

    void number(const QString& key, qint64 value, bool offset)
    {
        const QString present = m_file.readString(m_section, key);
        std::optional<NumberForm> form = present.isEmpty() ? std::nullopt : NumberForm::of(present);
        if (!form && offset && !m_fileForm)
            m_fileForm = NumberForm::ofFile(m_text);
        if (!form)
            form = offset ? *m_fileForm : NumberForm();
        m_values.append({key, form->write(value)});
    }
    void text(const QString& key, const QString& value) { m_values.append({key, value}); }

    bool write(QString* error) { return m_values.isEmpty() || m_file.writeStrings(m_section, m_values, error); }

private:
    IniFile& m_file;
    QString m_section;
    QByteArray m_text;
    std::optional<NumberForm> m_fileForm; // read when first needed
    IniFile::KeyValues m_values;
};

// Whether `name` can be written into the file at `path`: a file read as ANSI
// holds one byte a letter.
bool encodable(const QString& path, const QString& name)
{
    if (std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return true;
    const QByteArray bytes = CatalogueFilesChange::readFile(path).value_or(QByteArray());
    const bool high = std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) >= 0x80; });
    const bool ansi = high && !bytes.startsWith("\xFF\xFE") && !Ini::isUtf8(bytes);
    if (!ansi)
        return true;
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

// The files a change writes, their text before recorded.
CatalogueWrite begin(std::initializer_list<const IniFile*> files)
{
    CatalogueWrite w;
    for (const IniFile* f : files)
        w.change.recordBefore(f->path());
    return w;
}

// After the writes: on success the text after is recorded and the previous
// texts kept as NAME.bak; on failure every file is put back.
CatalogueWrite finish(CatalogueWrite w, bool written, const QString& error)
{
    QString problem = error;
    if (written) {
        w.change.recordAfter();
        if (w.change.keepBackups(&problem))
            return w;
    }
    w.change.restoreBefore();
    w.refusal = problem.isEmpty() ? QStringLiteral("The catalogue could not be written.") : problem;
    return w;
}

} // namespace

QStringList CatalogueWriter::mapsOf(const QString& category) const
{
    const int count = m_catalogue.MainIni.keys(category).size();
    QStringList keys;
    for (int i = 1; i <= count; ++i)
        keys << QString::number(i);
    return m_catalogue.MainIni.readStrings(category, keys);
}

QString CatalogueWriter::categoryOf(const QString& map) const
{
    for (const QString& category : m_catalogue.MainIni.sections())
        for (const QString& name : mapsOf(category))
            if (name.compare(map, Qt::CaseInsensitive) == 0)
                return category;
    return {};
}

bool CatalogueWriter::nameUsed(const QString& name) const
{
    return !categoryOf(name).isEmpty();
}

QString CatalogueWriter::nameProblem(const QString& what, const QString& name) const
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("The %1 needs a name.").arg(what);
    if (name != name.trimmed())
        return QStringLiteral("The %1's name may not begin or end with a blank.").arg(what);
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("The %1's name may not hold control characters.").arg(what);
    const QChar first = name.front(), last = name.back();
    if (name.size() >= 2 && first == last && (first == QLatin1Char('"') || first == QLatin1Char('\'')))
        return QStringLiteral("The %1's name may not stand in quotes.").arg(what);
    if (name.startsWith(QLatin1Char(';')) || name.startsWith(QLatin1Char('[')))
        return QStringLiteral("The %1's name may not begin with \"%2\".").arg(what, QString(first));
    for (const IniFile* f : {&m_catalogue.MainIni, &m_catalogue.MapsIni})
        if (!encodable(f->path(), name))
            return QStringLiteral("The %1's name cannot be written into %2.").arg(what, f->path());
    return {};
}

QString CatalogueWriter::categoryProblem(const QString& name) const
{
    const QString problem = nameProblem(QStringLiteral("category"), name);
    if (!problem.isEmpty())
        return problem;
    if (m_catalogue.MainIni.hasSection(name))
        return QStringLiteral("A category named \"%1\" is already in the catalogue.").arg(name);
    return {};
}

QString CatalogueWriter::mapProblem(const MapFields& m, bool isNew) const
{
    QString problem = nameProblem(QStringLiteral("map"), m.name);
    if (!problem.isEmpty())
        return problem;
    if (isNew && nameUsed(m.name))
        return QStringLiteral("A map named \"%1\" is already in the catalogue.").arg(m.name);
    if (!isNew && !m_catalogue.MapsIni.hasSection(m.name))
        return QStringLiteral("Map \"%1\" has no section in Maps.Ini.").arg(m.name);
    if (isNew) {
        problem = nameProblem(QStringLiteral("category"), m.category);
        if (!problem.isEmpty())
            return problem;
    }
    if (m.start < 0 || m.start >= m_romSize)
        return QStringLiteral("The start offset %1 lies past the end of the ROM image (%2 bytes).")
            .arg(hex(m.start)).arg(m_romSize);
    if (m.width < 1 || m.height < 1 || m.width > MapBufferSize || m.height > MapBufferSize)
        return QStringLiteral("The size %1 x %2 is not from 1 x 1 to %3 blocks.").arg(m.width).arg(m.height).arg(MapBufferSize);
    if (m.width * m.height > m_romSize - m.start)
        return QStringLiteral("A map of %1 x %2 blocks from %3 runs past the end of the ROM image.")
            .arg(m.width).arg(m.height).arg(hex(m.start));
    if (m.tileset < 1 || m.tileset > TilesetCount)
        return QStringLiteral("Tileset %1 is not from 1 to %2.").arg(m.tileset).arg(TilesetCount);
    auto tableProblem = [&](const char* what, qint64 offset, qint64 count) -> QString {
        if (count < 0 || count > 255)
            return QStringLiteral("The %1 count %2 is not from 0 to 255.").arg(QLatin1String(what)).arg(count);
        if (offset < 0 || offset > m_romSize || (count > 0 && offset == m_romSize))
            return QStringLiteral("The %1 offset %2 lies past the end of the ROM image.").arg(QLatin1String(what), hex(offset));
        return {};
    };
    for (const QString& p : {tableProblem("wild table", m.wildOffset, 0), tableProblem("warp", m.warpOffset, m.warps),
                             tableProblem("signpost", m.singpostOffset, m.singposts),
                             tableProblem("people", m.peopleOffset, m.people)})
        if (!p.isEmpty())
            return p;
    return mapRecordProblem(recordOf(m), m_romSize);
}

MapRecord CatalogueWriter::recordOf(const MapFields& m) const
{
    MapRecord record;
    record.name = m.name;
    record.MapStart = qint32(m.start);
    record.MapEnd = qint32(m.end());
    record.MapWidth = qint32(m.width);
    record.MapHeight = qint32(m.height);
    record.TilesetNumber = qint32(m.tileset);
    record.EncounterStart = qint32(m.wildOffset);
    record.comment = m.comment;
    const QString tileset = QString::number(m.tileset);
    record.TilesetBlocks = m_catalogue.TilesetsIni.readInteger(tileset, QStringLiteral("Blocks"), 0);
    record.TilesetStart = m_catalogue.TilesetsIni.readInteger(tileset, StartKey, 0);
    record.tiles = m_catalogue.TilesetsIni.readString(tileset, QStringLiteral("Tiles"));
    return record;
}

QString CatalogueWriter::tilesetProblem(const TilesetFields& t) const
{
    if (t.number < 1 || t.number > TilesetCount)
        return QStringLiteral("Tileset %1 is not from 1 to %2.").arg(t.number).arg(TilesetCount);
    if (t.blocks < 0 || t.blocks > BlockPlaces - 1)
        return QStringLiteral("A tileset has 0 to %1 blocks, not %2.").arg(BlockPlaces - 1).arg(t.blocks);
    const qint64 bytes = qint64(BlockSize) * (t.blocks + 1);
    if (t.start < 0 || t.start >= m_romSize || bytes > m_romSize - t.start)
        return QStringLiteral("The blocks of tileset %1 from %2 run past the end of the ROM image.")
            .arg(t.number).arg(hex(t.start));
    for (QChar c : t.tiles)
        if (c.unicode() < 0x20)
            return QStringLiteral("The tile picture's name may not hold control characters.");
    if (!encodable(m_catalogue.TilesetsIni.path(), t.tiles))
        return QStringLiteral("The tile picture's name cannot be written into %1.").arg(m_catalogue.TilesetsIni.path());
    return {};
}

MapFields CatalogueWriter::readMap(const QString& name) const
{
    const MapRecord r = readMapRecord(m_catalogue, name);
    MapFields m;
    m.name = name;
    m.category = categoryOf(name);
    m.start = r.MapStart;
    m.width = r.MapWidth;
    m.height = r.MapHeight;
    m.tileset = r.TilesetNumber;
    m.wildOffset = r.EncounterStart;
    m.comment = r.comment;
    const IniFile& events = m_catalogue.EventsIni;
    m.warpOffset = events.readInteger(name, QStringLiteral("Warp offset"), 0);
    m.warps = events.readInteger(name, QStringLiteral("Warps"), 0);
    m.singpostOffset = events.readInteger(name, QStringLiteral("Singpost offset"), 0);
    m.singposts = events.readInteger(name, QStringLiteral("Singposts"), 0);
    m.peopleOffset = events.readInteger(name, QStringLiteral("People offset"), 0);
    m.people = events.readInteger(name, QStringLiteral("Peoples"), 0);
    return m;
}

TilesetFields CatalogueWriter::readTileset(qint64 number) const
{
    const QString section = QString::number(number);
    TilesetFields t;
    t.number = number;
    t.start = m_catalogue.TilesetsIni.readInteger(section, StartKey, 0);
    t.blocks = m_catalogue.TilesetsIni.readInteger(section, QStringLiteral("Blocks"), 0);
    t.tiles = m_catalogue.TilesetsIni.readString(section, QStringLiteral("Tiles"));
    return t;
}

CatalogueWrite CatalogueWriter::addCategory(const QString& name) const
{
    CatalogueWrite w;
    w.refusal = categoryProblem(name);
    if (!w.ok())
        return w;
    w = begin({&m_catalogue.MainIni});
    // A section without keys: a header line at the end, in the file's encoding.
    const QString path = m_catalogue.MainIni.path();
    QByteArray bytes = w.change.files().front().before.value_or(QByteArray());
    const bool utf16 = bytes.startsWith("\xFF\xFE");
    const bool high = std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) >= 0x80; });
    const bool ansi = !utf16 && high && !Ini::isUtf8(bytes);
    const QString header = QLatin1Char('[') + name + QLatin1Char(']');
    if (utf16) {
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')) && !text.endsWith(QLatin1Char('\r')))
            text += QLatin1String("\r\n");
        text += header + QLatin1String("\r\n");
        bytes = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    } else {
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += "\r\n";
        bytes += (ansi ? header.toLatin1() : header.toUtf8()) + "\r\n";
    }
    QString reason;
    const bool written = writeFileAtomically(path, bytes, &reason);
    IniFile::dropCache();
    return finish(std::move(w), written, written ? QString() : QStringLiteral("Unable to write to %1").arg(path));
}

CatalogueWrite CatalogueWriter::writeMap(const MapFields& m, bool isNew) const
{
    CatalogueWrite w;
    w.refusal = mapProblem(m, isNew);
    if (!w.ok())
        return w;
    Catalogue files = m_catalogue;
    w = begin({&files.MainIni, &files.MapsIni, &files.CrittersIni, &files.EventsIni});
    QString error;
    bool ok = true;
    if (isNew) {
        SectionWrite main(files.MainIni, m.category, w.change);
        main.text(QString::number(mapsOf(m.category).size() + 1), m.name);
        ok = main.write(&error);
    }
    if (ok) {
        SectionWrite maps(files.MapsIni, m.name, w.change);
        maps.number(StartKey, m.start, true);
        maps.number(QStringLiteral("End offset"), m.end(), true);
        maps.number(QStringLiteral("X size"), m.width, false);
        maps.number(QStringLiteral("Y size"), m.height, false);
        maps.number(QStringLiteral("Tileset"), m.tileset, false);
        if (!m.comment.isEmpty() || files.MapsIni.keys(m.name).contains(QStringLiteral("Comment"), Qt::CaseInsensitive))
            maps.text(QStringLiteral("Comment"), m.comment);
        ok = maps.write(&error);
    }
    if (ok && (m.wildOffset != 0 || files.CrittersIni.hasSection(m.name))) {
        SectionWrite critters(files.CrittersIni, m.name, w.change);
        critters.number(StartKey, m.wildOffset, true);
        ok = critters.write(&error);
    }
    const bool anyEvents = m.warps || m.warpOffset || m.singposts || m.singpostOffset || m.people || m.peopleOffset;
    if (ok && (anyEvents || files.EventsIni.hasSection(m.name))) {
        SectionWrite events(files.EventsIni, m.name, w.change);
        events.number(QStringLiteral("Warps"), m.warps, false);
        events.number(QStringLiteral("Warp offset"), m.warpOffset, true);
        events.number(QStringLiteral("Singposts"), m.singposts, false);
        events.number(QStringLiteral("Singpost offset"), m.singpostOffset, true);
        events.number(QStringLiteral("Peoples"), m.people, false);
        events.number(QStringLiteral("People offset"), m.peopleOffset, true);
        ok = events.write(&error);
    }
    return finish(std::move(w), ok, error);
}

CatalogueWrite CatalogueWriter::writeTileset(const TilesetFields& t) const
{
    CatalogueWrite w;
    w.refusal = tilesetProblem(t);
    if (!w.ok())
        return w;
    Catalogue files = m_catalogue;
    w = begin({&files.TilesetsIni});
    SectionWrite tileset(files.TilesetsIni, QString::number(t.number), w.change);
    tileset.number(QStringLiteral("Blocks"), t.blocks, false);
    tileset.number(StartKey, t.start, true);
    tileset.text(QStringLiteral("Tiles"), t.tiles);
    QString error;
    const bool ok = tileset.write(&error);
    return finish(std::move(w), ok, error);
}

CatalogueWrite CatalogueWriter::removeMap(const QString& name) const
{
    CatalogueWrite w;
    const QString category = categoryOf(name);
    if (category.isEmpty()) {
        w.refusal = QStringLiteral("Map \"%1\" is in no category of Main.Ini.").arg(name);
        return w;
    }
    const QStringList maps = mapsOf(category);
    qsizetype at = 0;
    while (at < maps.size() && maps[at].compare(name, Qt::CaseInsensitive) != 0)
        ++at;
    Catalogue files = m_catalogue;
    w = begin({&files.MainIni});
    IniFile::KeyValues moved;
    for (qsizetype i = at; i + 1 < maps.size(); ++i)
        moved.append({QString::number(i + 1), maps[i + 1]});
    QString error;
    const bool ok = files.MainIni.writeStrings(category, moved, &error) &&
                    files.MainIni.removeKeys(category, {QString::number(maps.size())}, &error);
    return finish(std::move(w), ok, error);
}
