#include "model/catalogue/number_form.h"

#include "base/catalogue_integer.h"

#include <array>

std::optional<NumberForm> NumberForm::of(const QString& rawText)
{
    const QString text = rawText.trimmed();
    if (!parseCatalogueInteger(text))
        return std::nullopt;
    NumberForm form;
    QStringView digits(text);
    if (text.startsWith(QLatin1Char('$'))) {
        form.prefix = Dollar;
        digits = digits.sliced(1);
    } else if (text.startsWith(QLatin1String("0x"))) {
        form.prefix = ZeroX;
        digits = digits.sliced(2);
    } else if (text.startsWith(QLatin1String("0X"))) {
        form.prefix = ZeroBigX;
        digits = digits.sliced(2);
    } else {
        return form;
    }
    bool lower = false, upper = false;
    for (QChar c : digits) {
        lower = lower || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
        upper = upper || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    }
    form.lowerDigits = lower && !upper;
    return form;
}

NumberForm NumberForm::ofFile(const QByteArray& bytes)
{
    // Forms in order of first appearance with their counts.
    std::array<std::pair<NumberForm, int>, 8> seen{};
    int kinds = 0;
    qsizetype lineStart = 0;
    while (lineStart < bytes.size()) {
        qsizetype end = lineStart;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArray line = bytes.mid(lineStart, end - lineStart);
        lineStart = end + 1;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray name = line.first(equals).trimmed().toLower();
        if (name.startsWith(';') || !name.endsWith("offset"))
            continue;
        const std::optional<NumberForm> form = of(QString::fromLatin1(line.sliced(equals + 1)));
        if (!form)
            continue;
        int i = 0;
        while (i < kinds && !(seen[size_t(i)].first == *form))
            ++i;
        if (i == kinds) {
            if (kinds == int(seen.size()))
                continue;
            seen[size_t(kinds++)] = {*form, 0};
        }
        ++seen[size_t(i)].second;
    }
    NumberForm best;
    int bestCount = 0;
    for (int i = 0; i < kinds; ++i)
        if (seen[size_t(i)].second > bestCount) {
            best = seen[size_t(i)].first;
            bestCount = seen[size_t(i)].second;
        }
    return best;
}

QString NumberForm::write(qint64 value) const
{
    if (prefix == Decimal || value < 0)
        return QString::number(value);
    QString digits = QString::number(value, 16);
    digits = lowerDigits ? digits.toLower() : digits.toUpper();
    switch (prefix) {
    case Dollar:
        return QLatin1Char('$') + digits;
    case ZeroX:
        return QLatin1String("0x") + digits;
    case ZeroBigX:
        return QLatin1String("0X") + digits;
    case Decimal:
        break;
    }
    return digits;
}
