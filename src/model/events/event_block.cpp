#include "model/events/event_block.h"

#include "base/ini_file.h"
#include "model/rom/rom_image.h"
#include "model/events/event_tables.h"

qint64 eventBytesAvailable(const EventState& s)
{
    return qint64(s.WarpCount) * WarpRecordSize + qint64(s.SingpostCount) * SingpostRecordSize
        + qint64(s.PeopleCount) * PeopleRecordSize;
}

qint64 eventBytesNeeded(int warps, int singposts, int people)
{
    return qint64(warps) * WarpRecordSize + qint64(singposts) * SingpostRecordSize
        + qint64(people) * PeopleRecordSize;
}

QByteArray eventBlock(int warps, int singposts, int people)
{
    QByteArray block;
    block.reserve(eventBytesNeeded(warps, singposts, people) + 4);
    auto put = [&](std::initializer_list<int> bytes) {
        for (int b : bytes)
            block.append(char(quint8(b)));
    };
    put({warps});
    for (int i = 0; i < warps; ++i)
        put({i, 0, 1, 0x18, 5});
    put({0, singposts});
    for (int i = 0; i < singposts; ++i)
        put({i, 1, 0, 0xC8, 0x40});
    put({people});
    for (int i = 0; i < people; ++i)
        put({0x29, i + PeoplePositionBias, 6, 3, 1, 255, 255, 0, 0, 0x6F, 0x40, 255, 255});
    return block;
}

EventBlockOffsets eventBlockOffsets(qint32 warpOffset, int warps, int singposts)
{
    EventBlockOffsets o;
    o.warp = warpOffset;
    o.singpost = qint32(qint64(warpOffset) + qint64(warps) * WarpRecordSize + 2);
    o.people = qint32(qint64(o.singpost) + qint64(singposts) * SingpostRecordSize + 1);
    return o;
}

QString eventBlockProblem(const RomImage& rom, const QString& section, const EventState& s,
                          int warps, int singposts, int people)
{
    if (section.isEmpty() || !eventsBuildable(s))
        return QStringLiteral("Events can be rebuilt only for a map whose three event offsets are above 0.");
    for (int count : {warps, singposts, people})
        if (count < 0 || count > MaxEventCount)
            return QStringLiteral("Event counts must be from 0 to %1.").arg(MaxEventCount);
    const QByteArray block = eventBlock(warps, singposts, people);
    const qint64 start = qint64(s.WarpOffset) - 1;
    if (!rom.contains(start, block.size()))
        return QStringLiteral("The new event block (%1 bytes from %2) would run past the end of the ROM image.")
            .arg(block.size())
            .arg(QString::number(start, 16).toUpper());
    return {};
}

QString rebuildEventTables(IniFile& ini, const QString& section, RomImage& rom, const EventState& s,
                           int warps, int singposts, int people)
{
    const QString problem = eventBlockProblem(rom, section, s, warps, singposts, people);
    if (!problem.isEmpty())
        return problem;
    const QByteArray block = eventBlock(warps, singposts, people);
    const qint64 start = qint64(s.WarpOffset) - 1;
    const EventBlockOffsets o = eventBlockOffsets(s.WarpOffset, warps, singposts);
    // The six keys go to the file in one replacement: new counts never stand
    // beside old offsets, and a failed write leaves the image as it was.
    const IniFile::KeyValues keys = {
        {QStringLiteral("Warps"), QString::number(warps)},
        {QStringLiteral("Warp offset"), QString::number(o.warp)},
        {QStringLiteral("Singposts"), QString::number(singposts)},
        {QStringLiteral("Singpost offset"), QString::number(o.singpost)},
        {QStringLiteral("Peoples"), QString::number(people)},
        {QStringLiteral("People offset"), QString::number(o.people)},
    };
    QString error;
    if (!ini.writeStrings(section, keys, &error))
        return error;
    rom.writeAt(start, block.constData(), block.size());
    return {};
}
