#pragma once

#include <QJSValue>
#include <QString>

#include <optional>

class QJSEngine;

// Whole numbers from a script, checked: a value that is no whole number in
// [min, max] is refused with an error thrown into the script, naming `what`.
std::optional<qint64> scriptInteger(QJSEngine* engine, const QJSValue& value, qint64 min, qint64 max,
                                    const QString& what);
// Throws an error into the script; the call returns what the script sees.
QJSValue throwScriptError(QJSEngine* engine, const QString& message);
