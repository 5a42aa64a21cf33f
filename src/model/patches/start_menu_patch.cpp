#include "model/patches/start_menu_patch.h"

#include "model/rom/rom_image.h"

namespace {
constexpr quint8 CallOpcode = 0xCD;
constexpr quint8 ShownBytes[StartMenuCallLength] = {CallOpcode, 0x67, 0x6C};
constexpr quint8 HiddenBytes[StartMenuCallLength] = {0x00, 0x00, 0x00};
}

bool startMenuEntryInside(const RomImage& rom, qint64 offset)
{
    return rom.contains(offset, StartMenuCallLength);
}

bool startMenuEntryShown(const RomImage& rom, qint64 offset)
{
    return startMenuEntryInside(rom, offset) && rom.byteAt(offset) == CallOpcode;
}

bool setStartMenuEntry(RomImage& rom, qint64 offset, bool shown)
{
    return rom.writeAt(offset, shown ? ShownBytes : HiddenBytes, StartMenuCallLength);
}
