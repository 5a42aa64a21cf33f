#include "model/map/map_data_finder.h"

#include <algorithm>
#include <array>
#include <vector>

QList<MapDataStretch> findMapData(QByteArrayView image, const MapDataSearch& search)
{
    if (search.blocks < 1 || search.width < 1 || search.limit < 1)
        return {};
    std::array<bool, 256> block{};
    for (int n = 1; n <= qMin(search.blocks, 255); ++n)
        block[size_t(n)] = true;
    const qint64 shortest = qMax<qint64>(1, qint64(search.width) * qMax(1, search.minimumRows));

    std::vector<MapDataStretch> found;
    const auto* bytes = reinterpret_cast<const uchar*>(image.data());
    const qint64 size = image.size();
    qint64 i = 0;
    while (i < size) {
        if (!block[bytes[i]]) {
            ++i;
            continue;
        }
        const qint64 begin = i;
        const uchar first = bytes[i];
        bool repeated = true;
        while (i < size && block[bytes[i]]) {
            repeated = repeated && bytes[i] == first;
            ++i;
        }
        if (i - begin >= shortest)
            found.push_back({begin, i - begin, repeated});
    }
    auto before = [](const MapDataStretch& a, const MapDataStretch& b) {
        if (a.repeated != b.repeated)
            return !a.repeated;
        if (a.length != b.length)
            return a.length > b.length;
        return a.offset < b.offset;
    };
    const size_t kept = std::min(found.size(), size_t(search.limit));
    std::partial_sort(found.begin(), found.begin() + qsizetype(kept), found.end(), before);
    return QList<MapDataStretch>(found.begin(), found.begin() + qsizetype(kept));
}
