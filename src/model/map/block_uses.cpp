#include "model/map/block_uses.h"

#include "model/map/map_state.h"

#include <algorithm>

namespace {
// The cells of the map of `record` as a range of image offsets.
qint64 cellBytes(const MapRecord& record) { return qMin(record.byteCount(), qMax<qint64>(0, record.cellCount())); }
}

qint64 blockUseCount(const QByteArray& rom, const MapRecord& record, quint8 block)
{
    const qint64 cells = cellBytes(record);
    const qint64 start = record.MapStart;
    if (start < 0 || start > rom.size() || cells > rom.size() - start)
        return -1;
    const auto* first = reinterpret_cast<const quint8*>(rom.constData()) + start;
    return std::count(first, first + cells, block);
}

qint64 blockUseCount(const QByteArray& rom, const MapRecord& record, quint8 block, const MapState& working)
{
    const qint64 count = blockUseCount(rom, record, block);
    if (count < 0 || !working.hasMap || working.loadedBytes <= 0)
        return count;
    // The part of the map's cells that a save of the working copy rewrites.
    const qint64 workingEnd = qint64(working.loadedStart) + qMin<qint64>(working.loadedBytes, MapBufferSize);
    const qint64 from = qMax<qint64>(record.MapStart, working.loadedStart);
    const qint64 to = qMin<qint64>(qint64(record.MapStart) + cellBytes(record), workingEnd);
    if (from >= to)
        return count;
    const auto* image = reinterpret_cast<const quint8*>(rom.constData()) + from;
    const quint8* copy = working.MapBytes.data() + (from - working.loadedStart);
    return count - std::count(image, image + (to - from), block) + std::count(copy, copy + (to - from), block);
}
