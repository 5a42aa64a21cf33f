#pragma once

#include <QList>
#include <QString>

// The arguments a script declares in its header, the comment lines before
// its first line of code, one a line:
//     // @arg NAME TYPE "Label"
// TYPE is `number` or `string`; the label is optional (the name stands in).
// The values reach the script in `args`, in the order declared, as the
// command line's --arg gives them.
struct ScriptArgument {
    QString name;
    QString type;    // "number" or "string"
    QString label;
};

struct ScriptArguments {
    QList<ScriptArgument> list;
    QString problem;   // "LINE: what is wrong" for a malformed @arg line; empty when sound
};

ScriptArguments scriptArguments(const QString& source);

// Whether `value` fits an argument of `type`: a number is a finite decimal
// number; a string is anything.
bool scriptArgumentFits(const QString& type, const QString& value);
