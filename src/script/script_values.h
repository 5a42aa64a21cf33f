#pragma once

#include <QJSValue>
#include <QString>

#include <optional>

class QJSEngine;

// Whole numbers from a script, checked: a value that is no whole number in
// [min, max] is refused with an error thrown into the script, naming `what`
// and, for a value that is no number, its type; a value left out (undefined)
// is refused as "no WHAT given".
std::optional<qint64> scriptInteger(QJSEngine* engine, const QJSValue& value, qint64 min, qint64 max,
                                    const QString& what);
// A value of a script as a message shows it: "'3' is a string", "an object".
QString scriptValueText(const QJSValue& value);
// Throws an error into the script; the call returns what the script sees.
QJSValue throwScriptError(QJSEngine* engine, const QString& message);
