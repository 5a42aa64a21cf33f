#include "script/script_arguments.h"

#include <QRegularExpression>

#include <cmath>

ScriptArguments scriptArguments(const QString& source)
{
    static const QRegularExpression declaration(QStringLiteral(
        R"re(^//\s*@arg\s+([A-Za-z_][A-Za-z0-9_]*)\s+(number|string)(?:\s+"([^"]*)")?\s*$)re"));
    ScriptArguments result;
    const QStringList lines = source.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty())
            continue;
        if (!line.startsWith(QLatin1String("//")))
            break;   // the header ends with the first line of code
        if (!line.mid(2).trimmed().startsWith(QLatin1String("@arg")))
            continue;
        const QRegularExpressionMatch match = declaration.match(line);
        if (!match.hasMatch()) {
            result.problem = QStringLiteral("%1: @arg takes NAME, number or string, and a \"Label\"").arg(i + 1);
            return result;
        }
        const QString name = match.captured(1);
        for (const ScriptArgument& earlier : result.list)
            if (earlier.name == name) {
                result.problem = QStringLiteral("%1: argument %2 is declared twice").arg(i + 1).arg(name);
                return result;
            }
        const QString label = match.captured(3).trimmed();
        result.list.append({name, match.captured(2), label.isEmpty() ? name : label});
    }
    return result;
}

bool scriptArgumentFits(const QString& type, const QString& value)
{
    if (type != QLatin1String("number"))
        return true;
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    return ok && std::isfinite(number);
}
