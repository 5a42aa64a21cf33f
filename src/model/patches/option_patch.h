#pragma once

#include <QString>

#include <optional>

class IniFile;
class RomImage;

// One optional one-byte patch, a section of Options.ini:
//   [label]
//   Offset=...          ROM offset of the byte
//   Changed value=...   the byte when the option is on
//   Default value=...   the byte written when the option is off
struct RomOption {
    QString label;
    std::optional<qint32> offset;   // empty when "Offset" is missing or not a number
    qint32 changedValue = 0;
    qint32 defaultValue = 0;
};

// Reads the option's keys afresh from the file; missing values read as 0.
RomOption readRomOption(const IniFile& options, const QString& section);

// True when the option names a byte inside the image; only then is it read or written.
bool romOptionUsable(const RomImage& rom, const RomOption& option);
// True when the option's byte equals its changed value (a changed value
// outside 0..255 is never on).
bool romOptionOn(const RomImage& rom, const RomOption& option);
// The byte written for a value: its low 8 bits.
quint8 romOptionByte(qint32 value);
// Writes the low 8 bits of the changed value (on) or the default value (off).
// Writes nothing and returns false when the option is not usable.
bool writeRomOption(RomImage& rom, const RomOption& option, bool on);
