#include "model/map/region_flip.h"

BlockRegion flippedRegion(const BlockRegion& region, bool horizontal)
{
    if (region.isEmpty() || region.blocks.size() != size_t(region.width) * size_t(region.height))
        return region;
    BlockRegion flipped = region;
    for (int y = 0; y < region.height; ++y) {
        for (int x = 0; x < region.width; ++x) {
            const int fromX = horizontal ? region.width - 1 - x : x;
            const int fromY = horizontal ? y : region.height - 1 - y;
            flipped.blocks[size_t(y) * size_t(region.width) + size_t(x)] = region.at(fromX, fromY);
        }
    }
    return flipped;
}
