#include "base/catalogue_integer.h"

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
        // Digits only: no sign, blank or second prefix after the "$".
        quint32 value = 0;
        for (QChar c : digits) {
            const char16_t u = c.unicode();
            quint32 digit = 0;
            if (u >= u'0' && u <= u'9')
                digit = u - u'0';
            else if (u >= u'a' && u <= u'f')
                digit = u - u'a' + 10;
            else if (u >= u'A' && u <= u'F')
                digit = u - u'A' + 10;
            else
                return std::nullopt;
            value = value * 16 + digit;
        }
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
