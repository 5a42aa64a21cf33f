#include "model/patches/mart_patch.h"

#include "model/rom/rom_image.h"

bool freeMartsPatchFits(const RomImage& rom)
{
    return rom.contains(FreeMartsOffset, FreeMartsLength);
}

bool makeAllMartsFree(RomImage& rom)
{
    constexpr quint8 noOps[FreeMartsLength] = {0x00, 0x00, 0x00};
    return rom.writeAt(FreeMartsOffset, noOps, FreeMartsLength);
}
