#include "model/map/block_uses.h"

#include <algorithm>

qint64 blockUseCount(const QByteArray& rom, const MapRecord& record, quint8 block)
{
    const qint64 cells = qMin(record.byteCount(), qMax<qint64>(0, record.cellCount()));
    const qint64 start = record.MapStart;
    if (start < 0 || start > rom.size() || cells > rom.size() - start)
        return -1;
    const auto* first = reinterpret_cast<const quint8*>(rom.constData()) + start;
    return std::count(first, first + cells, block);
}
