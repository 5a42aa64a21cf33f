#pragma once

#include <QString>
#include <optional>

// The integer syntax of every catalogue file: decimal ("6699"), hexadecimal
// with a "$" prefix ("$1A2B"), or with a "0x"/"0X" prefix when the whole text
// is longer than two characters ("0x1A2B"; "0x" alone is not a number).
// Values are 32-bit: hexadecimal takes up to 8 digits and wraps into the
// signed range ("$FFFFFFFF" is -1), decimal must fit the signed range.
std::optional<qint32> parseCatalogueInteger(const QString& text);
qint32 catalogueInteger(const QString& text, qint32 defaultValue);
