#include "session/map_file.h"

#include <algorithm>
#include <cstring>

namespace {

qint64 bounded(qint64 value, qint64 most)
{
    return std::clamp<qint64>(value, 0, most);
}

void putInt32(QByteArray& out, qint32 value)
{
    const quint32 u = quint32(value);
    for (int i = 0; i < 4; ++i)
        out.append(char((u >> (8 * i)) & 0xFF));
}

qint32 getInt32(const char* at)
{
    quint32 u = 0;
    for (int i = 0; i < 4; ++i)
        u |= quint32(quint8(at[i])) << (8 * i);
    return qint32(u);
}

QByteArray tableBytes(const EncounterTable& table)
{
    QByteArray out;
    out.reserve(MapFileLayout::TableBytes);
    for (const EncounterSlot& slot : table) {
        putInt32(out, slot.level);
        putInt32(out, slot.number);
    }
    return out;
}

// Walks the content section by section; each take() copies what is left of
// the content, at most `size` bytes, over the start of `target`.
class SectionReader {
public:
    explicit SectionReader(const QByteArray& content) : m_content(content) {}

    qint64 take(void* target, qint64 size)
    {
        const qint64 n = std::min(size, qint64(m_content.size()) - m_pos);
        if (n <= 0)
            return 0;
        std::memcpy(target, m_content.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }

private:
    const QByteArray& m_content;
    qint64 m_pos = 0;
};

} // namespace

MapFileLayout MapFileLayout::of(const MapRecord& map, const EventState& events)
{
    MapFileLayout layout;
    // A negative size gives no cells (even where the product would be positive).
    if (map.MapWidth > 0 && map.MapHeight > 0)
        layout.cells = bounded(map.cellCount(), MapBufferSize);
    layout.warps = bounded(events.WarpCount, MaxEventCount);
    layout.singposts = bounded(events.SingpostCount, MaxEventCount);
    layout.people = bounded(events.PeopleCount, MaxEventCount);
    return layout;
}

QByteArray buildMapFile(const MapRecord& map, const MapState& blocks, const EventState& events,
                        const EncounterTables& encounters)
{
    const MapFileLayout layout = MapFileLayout::of(map, events);
    QByteArray out;
    out.reserve(qsizetype(layout.totalBytes()));
    out.append(reinterpret_cast<const char*>(blocks.MapBytes.data()), qsizetype(layout.cells));
    // Tables are numbered from 1; record 0 is never stored.
    out.append(reinterpret_cast<const char*>(&events.WarpTable[1]),
               qsizetype(MapFileLayout::WarpBytes * layout.warps));
    out.append(reinterpret_cast<const char*>(&events.SingpostTable[1]),
               qsizetype(MapFileLayout::SingpostBytes * layout.singposts));
    out.append(reinterpret_cast<const char*>(&events.PeopleTable[1]),
               qsizetype(MapFileLayout::PeopleBytes * layout.people));
    for (const EncounterTable& table : encounters.times)
        out.append(tableBytes(table));
    return out;
}

void readMapFile(const QByteArray& content, const MapRecord& map, MapState& blocks,
                 EventState& events, EncounterTables& encounters)
{
    const MapFileLayout layout = MapFileLayout::of(map, events);
    SectionReader reader(content);
    reader.take(blocks.MapBytes.data(), layout.cells);
    reader.take(&events.WarpTable[1], MapFileLayout::WarpBytes * layout.warps);
    reader.take(&events.SingpostTable[1], MapFileLayout::SingpostBytes * layout.singposts);
    reader.take(&events.PeopleTable[1], MapFileLayout::PeopleBytes * layout.people);
    // A table cut short inside a slot changes only the bytes the file holds,
    // so the slots are laid out, overwritten and read back.
    for (EncounterTable& table : encounters.times) {
        QByteArray bytes = tableBytes(table);
        if (reader.take(bytes.data(), bytes.size()) == 0)
            break;
        for (int i = 0; i < SlotsPerTime; ++i) {
            table[size_t(i)].level = getInt32(bytes.constData() + MapFileLayout::SlotBytes * i);
            table[size_t(i)].number = getInt32(bytes.constData() + MapFileLayout::SlotBytes * i + 4);
        }
    }
}
