#include "script/script_values.h"

#include <QJSEngine>

#include <cmath>

std::optional<qint64> scriptInteger(QJSEngine* engine, const QJSValue& value, qint64 min, qint64 max,
                                    const QString& what)
{
    const double number = value.isNumber() ? value.toNumber() : std::nan("");
    if (!std::isfinite(number) || std::floor(number) != number || number < double(min) || number > double(max)) {
        throwScriptError(engine, QStringLiteral("%1 %2 is not a whole number from %3 to %4")
                                     .arg(what, value.toString())
                                     .arg(min)
                                     .arg(max));
        return std::nullopt;
    }
    return qint64(number);
}

QJSValue throwScriptError(QJSEngine* engine, const QString& message)
{
    if (engine)
        engine->throwError(QJSValue::RangeError, message);
    return QJSValue(QJSValue::UndefinedValue);
}
