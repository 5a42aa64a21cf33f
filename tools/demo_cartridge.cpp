#include "demo_cartridge.h"

namespace DemoCartridge {

int romSizeCode(qint64 bytes)
{
    for (int code = 0; code <= 8; ++code)
        if ((qint64(32 * 1024) << code) == bytes)
            return code;
    return -1;
}

void writeHeader(QByteArray& image, const QString& title)
{
    Q_ASSERT(image.size() >= HeaderEnd);
    auto put = [&](int offset, int value) { image[offset] = char(quint8(value)); };
    // Entry point: nop; jp 0150. At 0150: di; jr -2, a program that waits forever.
    put(0x100, 0x00); put(0x101, 0xC3); put(0x102, 0x50); put(0x103, 0x01);
    // The logo area stays blank: no one else's picture in our image.
    for (int i = 0x104; i < TitleOffset; ++i)
        put(i, 0x00);
    const QByteArray name = title.toLatin1().left(CgbFlagOffset - TitleOffset).toUpper();
    for (int i = TitleOffset; i < CgbFlagOffset; ++i)
        put(i, i - TitleOffset < name.size() ? name[i - TitleOffset] : 0);
    put(CgbFlagOffset, 0x80);          // works on Game Boy Color and older
    put(0x144, '0'); put(0x145, '0');  // no licensee
    put(0x146, 0x00);                  // no Super Game Boy functions
    put(TypeOffset, 0x1B);             // MBC5 + RAM + battery
    put(RomSizeOffset, romSizeCode(image.size()) < 0 ? 0 : romSizeCode(image.size()));
    put(RamSizeOffset, 0x03);          // 32 KiB of save RAM
    put(0x14A, 0x01);                  // overseas
    put(0x14B, 0x33);                  // licensee in 0x144
    put(0x14C, 0x00);                  // version
    put(0x150, 0xF3); put(0x151, 0x18); put(0x152, 0xFE);
}

}
