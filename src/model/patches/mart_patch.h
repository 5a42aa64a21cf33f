#pragma once

#include <QtGlobal>

class RomImage;

// Three bytes of the game's shop code; replaced by three no-ops, every shop
// gives its goods for free.
inline constexpr qint64 FreeMartsOffset = 0x16251;
inline constexpr qint64 FreeMartsLength = 3;

// True when the three bytes lie wholly inside the image.
bool freeMartsPatchFits(const RomImage& rom);
// Writes 00 00 00 at FreeMartsOffset, whatever stood there. Writes nothing
// and returns false when the bytes are not inside the image.
bool makeAllMartsFree(RomImage& rom);
