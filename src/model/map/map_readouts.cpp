#include "model/map/map_readouts.h"

QString hexText(qint64 value, int minDigits)
{
    QString digits = QString::number(value < 0 ? -value : value, 16).toUpper().rightJustified(minDigits, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString mapCellReadout(int column, int row, int block, qint64 offset)
{
    return QStringLiteral("X: %1 Y: %2 Block: %3 Offset: %4")
        .arg(column).arg(row).arg(hexText(block, 2), hexText(offset, 2));
}

QString paletteReadout(int row, qint64 tilesetStart)
{
    return QStringLiteral("Block: %1 Offset: %2").arg(hexText(row + 1, 2), hexText(tilesetStart + 16 * qint64(row), 1));
}
