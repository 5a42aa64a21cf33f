#pragma once

#include <QByteArray>
#include <QString>

// The cartridge header of a Game Boy Color image (0x100 to 0x14F).
namespace DemoCartridge {

inline constexpr int HeaderStart = 0x100;
inline constexpr int HeaderEnd = 0x150;        // first byte after the header
inline constexpr int TitleOffset = 0x134;
inline constexpr int CgbFlagOffset = 0x143;
inline constexpr int TypeOffset = 0x147;
inline constexpr int RomSizeOffset = 0x148;
inline constexpr int RamSizeOffset = 0x149;

// Writes entry point, title, CGB flag, MBC5 type and the size codes into `image`
// (which must be at least 0x150 bytes); CartridgeHeader::setChecksums sets the checksums.
void writeHeader(QByteArray& image, const QString& title);
// The ROM size code for an image of `bytes` bytes (32 KiB << code), or -1.
int romSizeCode(qint64 bytes);

}
