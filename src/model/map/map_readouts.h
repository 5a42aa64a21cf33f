#pragma once

#include <QString>
#include <QtGlobal>

// The pointer read-outs of the map page: upper-case hexadecimal without a
// prefix, zero-filled to a minimum width.
QString hexText(qint64 value, int minDigits);
// "X: 3 Y: 1 Block: 0A Offset: 1A2B"
QString mapCellReadout(int column, int row, int block, qint64 offset);
// "Block: 01 Offset: 4000" for a palette row counted from 0.
QString paletteReadout(int row, qint64 tilesetStart);
