#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// The two checksums of a Game Boy cartridge header. The console refuses to
// start an image whose header checksum (0x14D) does not match bytes 0x134 to
// 0x14C; the global checksum (0x14E, high byte first) is the sum of every
// byte but its own two, and nothing checks it.
namespace CartridgeHeader {

inline constexpr qint64 ChecksummedStart = 0x134;
inline constexpr qint64 HeaderChecksumOffset = 0x14D;
inline constexpr qint64 GlobalChecksumOffset = 0x14E;
inline constexpr qint64 HeaderEnd = 0x150;   // first byte after the header

struct Checksums {
    quint8 storedHeader = 0;
    quint8 header = 0;         // what bytes 0x134..0x14C give
    quint16 storedGlobal = 0;
    quint16 global = 0;        // what the image sums to

    bool headerMatches() const { return storedHeader == header; }
    bool globalMatches() const { return storedGlobal == global; }
};

// Stored and computed checksums, or nothing for an image shorter than a header.
std::optional<Checksums> checksums(const QByteArray& image);
// Sets both checksums (the header one first: the global sum counts it).
// False, and nothing changed, for an image shorter than a header.
bool setChecksums(QByteArray& image);

} // namespace CartridgeHeader
