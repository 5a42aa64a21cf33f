#pragma once

#include <QtGlobal>
#include <array>

// The three event records of a map, byte for byte as they lie in the ROM.
#pragma pack(push, 1)
struct TWarpRecord {
    quint8 Y = 0, X = 0;          // square position
    quint8 WarpTo = 0, MapBank = 0, MapNumber = 0;
};
struct TSingpostRecord {
    quint8 Y = 0, X = 0;
    quint8 HiddenItem = 0;        // 0: ordinary signpost; non-zero: hidden item
    quint8 TextBlock = 0, TextBank = 0;
};
struct TPeopleRecord {
    quint8 Picture = 0;
    quint8 Y = 0, X = 0;          // ROM: square + 4; working copy: the square itself
    quint8 Facing = 0, Movement = 0, Unk1 = 0, Unk2 = 0, Function = 0, Unk3 = 0;
    quint8 TextBlock = 0, TextBank = 0;
    quint8 When = 0;              // index into "Hidden/shown"; 255 with HiddenFlag 255
    quint8 HiddenFlag = 0;        // 6: shown/hidden by When; 255: no condition
};
#pragma pack(pop)
static_assert(sizeof(TWarpRecord) == 5);
static_assert(sizeof(TSingpostRecord) == 5);
static_assert(sizeof(TPeopleRecord) == 13);

inline constexpr int MaxEventCount = 255;   // records per table (the builder's limit)

// A reference to one event: Index counts from 1; Kind 0 warp, 1 signpost,
// 2 person, 255 no event.
struct TEventData {
    quint8 Index = 0;
    quint8 Kind = 255;
    static constexpr quint8 Warp = 0, Singpost = 1, People = 2, None = 255;
    bool operator==(const TEventData&) const = default;
};

// The working copy of the current map's events. Tables are indexed from 1;
// only records 1 to the count are meaningful.
struct EventState {
    qint32 WarpCount = 0, SingpostCount = 0, PeopleCount = 0;
    qint32 WarpOffset = 0, SingpostOffset = 0, PeopleOffset = 0;
    std::array<TWarpRecord, MaxEventCount + 1> WarpTable{};
    std::array<TSingpostRecord, MaxEventCount + 1> SingpostTable{};
    std::array<TPeopleRecord, MaxEventCount + 1> PeopleTable{};
};
