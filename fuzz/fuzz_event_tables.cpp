// The event tables of a map from any Events.ini section over any small ROM
// image: loading either refuses with a message and an empty working copy,
// or reads tables that lie inside the image; saving what was loaded writes
// the image back unchanged.
#include "base/ini_file.h"
#include "model/rom/rom_image.h"
#include "model/events/event_tables.h"
#include "fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    auto number = [&]() -> QByteArray {
        switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: return QByteArray::number(in.ConsumeIntegralInRange<int>(-2, 60));
        case 1: return "$" + QByteArray::number(in.ConsumeIntegralInRange<int>(0, 0x900), 16);
        case 2: return QByteArray::number(in.ConsumeIntegral<qint32>());
        default: return QByteArray::fromStdString(in.ConsumeRandomLengthString(12));
        }
    };
    QByteArray ini = "[Map]\r\n";
    for (const char* key : {"Warps", "Warp offset", "Singposts", "Singpost offset", "Peoples", "People offset"})
        if (in.ConsumeIntegralInRange<int>(0, 9) > 0)
            ini += QByteArray(key) + "=" + number() + "\r\n";
    const QString path = fuzz::writeScratch(QStringLiteral("Events.ini"), ini);
    RomImage rom;
    rom.setBytes(QByteArray::fromStdString(in.ConsumeRemainingBytesAsString()));
    const QByteArray before = rom.bytes();

    auto state = std::make_unique<EventState>();
    const QString problem = loadEventTables(IniFile(path), QStringLiteral("Map"), rom, *state);
    if (!problem.isEmpty()) {
        FUZZ_CHECK(state->WarpCount == 0 && state->SingpostCount == 0 && state->PeopleCount == 0);
        FUZZ_CHECK(saveEventTables(*state, rom).isEmpty());
        FUZZ_CHECK(rom.bytes() == before);
        return 0;
    }
    for (int x = -1; x < 3; ++x)
        for (int y = -1; y < 3; ++y)
            GetEventData(*state, x, y);
    FUZZ_CHECK(saveEventTables(*state, rom).isEmpty());
    FUZZ_CHECK(rom.bytes() == before);
    return 0;
}
