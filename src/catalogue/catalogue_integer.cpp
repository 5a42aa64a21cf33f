#include "catalogue/catalogue_integer.h"

std::optional<qint32> parseCatalogueInteger(const QString& raw)
{
    QString text = raw.trimmed();
    if (text.size() > 2 && text[0] == QLatin1Char('0')
        && (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X')))
        text = QLatin1Char('$') + text.mid(2);

    if (text.startsWith(QLatin1Char('$'))) {
        QStringView digits = QStringView(text).mid(1);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        bool ok = false;
        quint32 value = digits.toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        return qint32(value);
    }
    if (text.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && !(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return std::nullopt;
    }
    bool ok = false;
    qint32 value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

qint32 catalogueInteger(const QString& text, qint32 defaultValue)
{
    return parseCatalogueInteger(text).value_or(defaultValue);
}
