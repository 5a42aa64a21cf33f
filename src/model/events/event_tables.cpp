#include "model/events/event_tables.h"

#include "base/ini_file.h"
#include "model/rom/rom_image.h"

#include <cstring>

namespace {

template <typename Record>
quint8* recordBytes(Record& r) { return reinterpret_cast<quint8*>(&r); }
template <typename Record>
const quint8* recordBytes(const Record& r) { return reinterpret_cast<const quint8*>(&r); }

int recordSize(quint8 kind)
{
    switch (kind) {
    case TEventData::Warp: return WarpRecordSize;
    case TEventData::Singpost: return SingpostRecordSize;
    case TEventData::People: return PeopleRecordSize;
    default: return 0;
    }
}

// The record bytes of a valid event, else nullptr.
const quint8* constRecord(const EventState& s, TEventData e)
{
    if (!isEventRecord(s, e))
        return nullptr;
    switch (e.Kind) {
    case TEventData::Warp: return recordBytes(s.WarpTable[e.Index]);
    case TEventData::Singpost: return recordBytes(s.SingpostTable[e.Index]);
    default: return recordBytes(s.PeopleTable[e.Index]);
    }
}

quint8* mutableRecord(EventState& s, TEventData e)
{
    return const_cast<quint8*>(constRecord(s, e));
}

// Byte positions of Y and X within each record.
int yByte(quint8 kind) { return kind == TEventData::People ? 1 : 0; }
int xByte(quint8 kind) { return kind == TEventData::People ? 2 : 1; }

QString hexOffset(qint64 offset)
{
    return QString::number(quint32(offset), 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

struct TableSpan {
    const char* name;
    qint32 offset;
    qint32 count;
    int recordSize;
};

} // namespace

QString loadEventTables(const IniFile& ini, const QString& section, const RomImage& rom, EventState& state)
{
    EventState loaded;
    if (!section.isEmpty()) {
        loaded.WarpOffset = ini.readInteger(section, QStringLiteral("Warp offset"), 0);
        loaded.WarpCount = ini.readInteger(section, QStringLiteral("Warps"), 0);
        loaded.SingpostCount = ini.readInteger(section, QStringLiteral("Singposts"), 0);
        loaded.SingpostOffset = ini.readInteger(section, QStringLiteral("Singpost offset"), 0);
        loaded.PeopleCount = ini.readInteger(section, QStringLiteral("Peoples"), 0);
        loaded.PeopleOffset = ini.readInteger(section, QStringLiteral("People offset"), 0);
    }

    const TableSpan spans[] = {
        {"warps", loaded.WarpOffset, loaded.WarpCount, WarpRecordSize},
        {"signposts", loaded.SingpostOffset, loaded.SingpostCount, SingpostRecordSize},
        {"people", loaded.PeopleOffset, loaded.PeopleCount, PeopleRecordSize},
    };
    for (const TableSpan& t : spans) {
        QString problem;
        if (t.count < 0 || t.count > MaxEventCount)
            problem = QStringLiteral("%1 %2 is not from 0 to %3").arg(QLatin1String(t.name)).arg(t.count).arg(MaxEventCount);
        else if (t.count > 0 && !rom.contains(t.offset, qint64(t.count) * t.recordSize))
            problem = QStringLiteral("the %1 table at %2 lies outside the ROM image")
                          .arg(QLatin1String(t.name), hexOffset(t.offset));
        if (!problem.isEmpty()) {
            state = EventState{};
            return QStringLiteral("Events of map \"%1\" cannot be shown: %2.").arg(section, problem);
        }
    }

    // A count of 0 reads nothing, whatever its offset.
    if (loaded.WarpCount > 0)
        rom.readAt(loaded.WarpOffset, &loaded.WarpTable[1], qint64(loaded.WarpCount) * WarpRecordSize);
    if (loaded.SingpostCount > 0)
        rom.readAt(loaded.SingpostOffset, &loaded.SingpostTable[1], qint64(loaded.SingpostCount) * SingpostRecordSize);
    if (loaded.PeopleCount > 0)
        rom.readAt(loaded.PeopleOffset, &loaded.PeopleTable[1], qint64(loaded.PeopleCount) * PeopleRecordSize);
    for (int i = 1; i <= loaded.PeopleCount; ++i) {
        loaded.PeopleTable[i].Y = quint8(loaded.PeopleTable[i].Y - PeoplePositionBias);
        loaded.PeopleTable[i].X = quint8(loaded.PeopleTable[i].X - PeoplePositionBias);
    }
    state = loaded;
    return {};
}

QString saveEventTables(const EventState& state, RomImage& rom)
{
    QStringList refused;
    auto put = [&](const char* name, qint32 offset, qint32 count, const void* first, int size) {
        if (count <= 0)
            return;
        if (count > MaxEventCount || !rom.writeAt(offset, first, qint64(count) * size))
            refused << QLatin1String(name);
    };
    put("warps", state.WarpOffset, state.WarpCount, &state.WarpTable[1], WarpRecordSize);
    put("signposts", state.SingpostOffset, state.SingpostCount, &state.SingpostTable[1], SingpostRecordSize);

    if (state.PeopleCount > 0 && state.PeopleCount <= MaxEventCount) {
        std::array<TPeopleRecord, MaxEventCount> people{};
        for (int i = 1; i <= state.PeopleCount; ++i) {
            people[i - 1] = state.PeopleTable[i];
            people[i - 1].Y = quint8(people[i - 1].Y + PeoplePositionBias);
            people[i - 1].X = quint8(people[i - 1].X + PeoplePositionBias);
        }
        put("people", state.PeopleOffset, state.PeopleCount, people.data(), PeopleRecordSize);
    } else {
        put("people", state.PeopleOffset, state.PeopleCount, nullptr, PeopleRecordSize);
    }
    if (refused.isEmpty())
        return {};
    return QStringLiteral("The %1 table could not be written: it lies outside the ROM image.")
        .arg(refused.join(QStringLiteral(", ")));
}

bool eventsPresent(const EventState& s)
{
    return s.WarpOffset != 0 || s.SingpostOffset != 0 || s.PeopleOffset != 0;
}

bool eventsBuildable(const EventState& s)
{
    return s.WarpOffset > 0 && s.SingpostOffset > 0 && s.PeopleOffset > 0;
}

int eventCount(const EventState& s, quint8 kind)
{
    int count = 0;
    switch (kind) {
    case TEventData::Warp: count = s.WarpCount; break;
    case TEventData::Singpost: count = s.SingpostCount; break;
    case TEventData::People: count = s.PeopleCount; break;
    default: return 0;
    }
    return qBound(0, count, MaxEventCount);
}

bool isEventRecord(const EventState& s, TEventData e)
{
    return e.Index >= 1 && e.Index <= eventCount(s, e.Kind);
}

int eventByte(const EventState& s, TEventData e, int byte)
{
    const quint8* r = constRecord(s, e);
    if (!r || byte < 0 || byte >= recordSize(e.Kind))
        return -1;
    return r[byte];
}

bool setEventByte(EventState& s, TEventData e, int byte, int value)
{
    quint8* r = mutableRecord(s, e);
    if (!r || byte < 0 || byte >= recordSize(e.Kind))
        return false;
    r[byte] = quint8(value & 0xFF);
    return true;
}

bool moveEvent(EventState& s, TEventData e, int x, int y)
{
    quint8* r = mutableRecord(s, e);
    if (!r)
        return false;
    r[yByte(e.Kind)] = quint8(y & 0xFF);
    r[xByte(e.Kind)] = quint8(x & 0xFF);
    return true;
}

bool eventSquare(const EventState& s, TEventData e, int* x, int* y)
{
    const quint8* r = constRecord(s, e);
    if (!r)
        return false;
    *y = r[yByte(e.Kind)];
    *x = r[xByte(e.Kind)];
    return true;
}

TEventData GetEventData(const EventState& s, int x, int y)
{
    TEventData result;
    for (quint8 kind : {TEventData::Warp, TEventData::Singpost, TEventData::People}) {
        const int count = eventCount(s, kind);
        for (int i = 1; i <= count; ++i) {
            int ex = 0, ey = 0;
            eventSquare(s, TEventData{quint8(i), kind}, &ex, &ey);
            if (ex == x && ey == y)
                result = TEventData{quint8(i), kind};
        }
    }
    return result;
}

QString eventStatusText(const EventState& s, int col, int row, TEventData* hover)
{
    QString text = QStringLiteral("Y: %1 X: %2").arg(row).arg(col);
    const TEventData e = GetEventData(s, col, row);
    if (hover)
        *hover = e;
    const qint64 i = e.Index;
    switch (e.Kind) {
    case TEventData::Warp:
        text += QStringLiteral(" Warp%1 Offset: %2").arg(i).arg(hexOffset(s.WarpOffset + i * 5 - 5));
        break;
    case TEventData::Singpost:
        text += QStringLiteral(" Singpost %1 Offset: %2").arg(i).arg(hexOffset(s.SingpostOffset + i * 5 - 5));
        break;
    case TEventData::People:
        text += QStringLiteral(" People %1 Offset: %2").arg(i).arg(hexOffset(s.PeopleOffset + i * 13 - 13));
        break;
    default:
        text += QStringLiteral(" No event");
    }
    return text;
}
