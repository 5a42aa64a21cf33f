#include "script/script_values.h"

#include <QJSEngine>

#include <cmath>

QString scriptValueText(const QJSValue& value)
{
    if (value.isString())
        return QStringLiteral("'%1' is a string").arg(value.toString());
    if (value.isBool())
        return QStringLiteral("%1 is a boolean").arg(value.toString());
    if (value.isNull())
        return QStringLiteral("null");
    if (value.isArray())
        return QStringLiteral("an array");
    if (value.isCallable())
        return QStringLiteral("a function");
    if (value.isObject())
        return QStringLiteral("an object");
    return value.toString();
}

std::optional<qint64> scriptInteger(QJSEngine* engine, const QJSValue& value, qint64 min, qint64 max,
                                    const QString& what)
{
    if (value.isUndefined()) {
        throwScriptError(engine, QStringLiteral("no %1 given").arg(what));
        return std::nullopt;
    }
    const double number = value.isNumber() ? value.toNumber() : std::nan("");
    if (!std::isfinite(number) || std::floor(number) != number || number < double(min) || number > double(max)) {
        // A value of another type says so: '3' is a string, not the number 3.
        const QString range = QStringLiteral("a whole number from %1 to %2").arg(min).arg(max);
        throwScriptError(engine, value.isNumber()
                                     ? QStringLiteral("%1 %2 is not %3").arg(what, value.toString(), range)
                                     : QStringLiteral("%1 %2, not %3").arg(what, scriptValueText(value), range));
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
