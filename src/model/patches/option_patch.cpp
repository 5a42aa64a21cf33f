#include "model/patches/option_patch.h"

#include "base/catalogue_integer.h"
#include "base/ini_file.h"
#include "model/rom/rom_image.h"

RomOption readRomOption(const IniFile& options, const QString& section)
{
    RomOption option;
    option.label = section;
    // A missing key and a value that is not a number both leave the option
    // without a byte, rather than pointing it at the first byte of the image.
    const QString offsetText = options.readString(section, QStringLiteral("Offset"));
    option.offset = parseCatalogueInteger(offsetText);
    option.changedValue = options.readInteger(section, QStringLiteral("Changed value"), 0);
    option.defaultValue = options.readInteger(section, QStringLiteral("Default value"), 0);
    return option;
}

bool romOptionUsable(const RomImage& rom, const RomOption& option)
{
    return option.offset && rom.contains(*option.offset, 1);
}

bool romOptionOn(const RomImage& rom, const RomOption& option)
{
    return romOptionUsable(rom, option) && rom.byteAt(*option.offset) == option.changedValue;
}

quint8 romOptionByte(qint32 value)
{
    return quint8(quint32(value) & 0xFFu);
}

bool writeRomOption(RomImage& rom, const RomOption& option, bool on)
{
    if (!romOptionUsable(rom, option))
        return false;
    const quint8 byte = romOptionByte(on ? option.changedValue : option.defaultValue);
    return rom.writeAt(*option.offset, &byte, 1);
}
