#include "model/map/region_flip.h"

BlockRegion flippedRegion(const BlockRegion& region, bool horizontal)
{
    const size_t cells = size_t(qMax(0, region.width)) * size_t(qMax(0, region.height));
    if (region.isEmpty() || region.blocks.size() != cells || (!region.mask.empty() && region.mask.size() != cells))
        return region;
    // The shape is mirrored with its blocks: a cell outside it stays outside.
    BlockRegion flipped = region;
    for (int y = 0; y < region.height; ++y) {
        for (int x = 0; x < region.width; ++x) {
            const int fromX = horizontal ? region.width - 1 - x : x;
            const int fromY = horizontal ? y : region.height - 1 - y;
            const size_t to = size_t(y) * size_t(region.width) + size_t(x);
            const size_t from = size_t(fromY) * size_t(region.width) + size_t(fromX);
            flipped.blocks[to] = region.blocks[from];
            if (!region.mask.empty())
                flipped.mask[to] = region.mask[from];
        }
    }
    return flipped;
}
