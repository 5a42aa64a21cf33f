// The ROM options of any Options.ini over any small ROM image: an option is
// read or written only when its byte lies inside the image, and switching it
// on or off leaves it so (when its value is a byte at all) and changes no
// other byte.
#include "base/ini_file.h"
#include "model/rom/rom_image.h"
#include "fuzz_support.h"
#include "model/patches/option_patch.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QByteArray ini = QByteArray::fromStdString(in.ConsumeRandomLengthString(400));
    const bool on = in.ConsumeBool();
    RomImage rom;
    rom.setBytes(QByteArray::fromStdString(in.ConsumeRemainingBytesAsString()));
    const IniFile options(fuzz::writeScratch(QStringLiteral("Options.ini"), ini));
    for (const QString& section : options.sections()) {
        const RomOption option = readRomOption(options, section);
        const QByteArray before = rom.bytes();
        const bool usable = romOptionUsable(rom, option);
        romOptionOn(rom, option);
        FUZZ_CHECK(writeRomOption(rom, option, on) == usable);
        if (!usable) {
            FUZZ_CHECK(rom.bytes() == before);
            continue;
        }
        const qint32 value = on ? option.changedValue : option.defaultValue;
        FUZZ_CHECK(rom.byteAt(*option.offset) == romOptionByte(value));
        if (on)
            FUZZ_CHECK(romOptionOn(rom, option) == (option.changedValue >= 0 && option.changedValue <= 255));
        QByteArray expected = before;
        expected[*option.offset] = char(romOptionByte(value));
        FUZZ_CHECK(rom.bytes() == expected);
    }
    return 0;
}
