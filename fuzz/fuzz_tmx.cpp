// The TMX reader on any content, and what it reads put into a map of the
// size it gives: the cells always match the size, and nothing is read or
// written outside the map's working copies.
#include "fuzz_support.h"
#include "model/catalogue/map_record.h"
#include "model/events/event_records.h"
#include "model/map/map_state.h"
#include "model/tiled/tmx_apply.h"
#include "model/tiled/tmx_reader.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TmxMap tmx;
    QString error;
    if (!readTmx(bytes, &tmx, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(tmx.width > 0 && tmx.height > 0);
    FUZZ_CHECK(qint64(tmx.cells.size()) == qint64(tmx.width) * tmx.height);

    MapRecord record;
    record.name = QStringLiteral("Fuzz");
    record.MapStart = 0x1000;
    record.MapEnd = record.MapStart + tmx.width * tmx.height - 1;
    record.MapWidth = tmx.width;
    record.MapHeight = tmx.height;
    record.TilesetNumber = 1;
    record.TilesetBlocks = 16;
    auto map = std::make_unique<MapState>();
    auto events = std::make_unique<EventState>();
    events->WarpCount = 2;
    events->SingpostCount = 1;
    events->PeopleCount = 1;
    applyTmx(tmx, record, *map, *events);
    return 0;
}
