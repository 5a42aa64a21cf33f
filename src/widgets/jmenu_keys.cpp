#include "widgets/jmenu_keys.h"

namespace {

bool sameLetter(QChar a, QChar b)
{
    return a.toCaseFolded() == b.toCaseFolded();
}

} // namespace

QChar jmenuAccelerator(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1];
        ++i; // "&&" is a literal "&"
    }
    return QChar();
}

TJMenuKeyAnswer jmenuMenuCharacter(QChar key, const QList<TJMenuKeyItem>& items, int highlighted)
{
    if (key.isNull())
        return {};
    QList<int> matches;
    for (int i = 0; i < items.size(); ++i) {
        const QChar accelerator = jmenuAccelerator(items[i].caption);
        if (!accelerator.isNull() && sameLetter(accelerator, key))
            matches.append(i);
    }
    if (matches.isEmpty()) {
        for (int i = 0; i < items.size(); ++i) {
            const QString& caption = items[i].caption;
            if (caption.isEmpty() || !sameLetter(caption[0], key))
                continue;
            if (!items[i].enabled)
                return {TJMenuKeyAnswer::Close, -1};
            matches.append(i);
        }
    }
    if (matches.isEmpty())
        return {};
    if (matches.size() == 1)
        return {TJMenuKeyAnswer::Execute, matches.first()};
    for (int i : matches)
        if (i > highlighted)
            return {TJMenuKeyAnswer::Select, i};
    return {TJMenuKeyAnswer::Select, matches.first()};
}
