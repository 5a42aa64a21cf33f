#pragma once

#include "model/map/map_region.h"

// `region` mirrored left to right (`horizontal`) or top to bottom: the
// arrangement of its blocks and its shape change together, the blocks
// themselves are not redrawn.
BlockRegion flippedRegion(const BlockRegion& region, bool horizontal);
