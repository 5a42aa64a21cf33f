// The map file reader on any content, for any sizes and counts of the
// current map: reading never reaches outside the working copies, and a file
// built from the working copies reads back into the same working copies.
#include "session/map_file.h"
#include "fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>

namespace {

struct Copies {
    MapState blocks;
    EventState events;
    EncounterTables encounters;
};

bool same(const Copies& a, const Copies& b)
{
    return a.blocks.MapBytes == b.blocks.MapBytes
        && std::memcmp(&a.events.WarpTable, &b.events.WarpTable, sizeof a.events.WarpTable) == 0
        && std::memcmp(&a.events.SingpostTable, &b.events.SingpostTable, sizeof a.events.SingpostTable) == 0
        && std::memcmp(&a.events.PeopleTable, &b.events.PeopleTable, sizeof a.events.PeopleTable) == 0
        && a.encounters == b.encounters;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    MapRecord map;
    map.name = QStringLiteral("Fuzz");
    map.MapStart = 1;
    // Sizes and counts from anywhere in the 32-bit range, small ones often.
    auto value = [&] {
        return in.ConsumeBool() ? in.ConsumeIntegralInRange<qint32>(-3, 120) : in.ConsumeIntegral<qint32>();
    };
    map.MapWidth = value();
    map.MapHeight = value();
    auto copies = std::make_unique<Copies>();
    copies->events.WarpCount = value();
    copies->events.SingpostCount = value();
    copies->events.PeopleCount = value();
    const QByteArray content = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    readMapFile(content, map, copies->blocks, copies->events, copies->encounters);
    const QByteArray built = buildMapFile(map, copies->blocks, copies->events, copies->encounters);
    FUZZ_CHECK(built.size() == MapFileLayout::of(map, copies->events).totalBytes());

    auto again = std::make_unique<Copies>();
    again->events.WarpCount = copies->events.WarpCount;
    again->events.SingpostCount = copies->events.SingpostCount;
    again->events.PeopleCount = copies->events.PeopleCount;
    readMapFile(built, map, again->blocks, again->events, again->encounters);
    FUZZ_CHECK(same(*copies, *again));
    return 0;
}
