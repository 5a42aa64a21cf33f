#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <functional>

class QJSEngine;

// What a script is run with: its text and name, its arguments, the image as
// Save Rom would write it, and the catalogue folder it reads.
struct ScriptRequest {
    QString fileName;       // named in errors as FILE:LINE
    QString source;
    QStringList args;
    QByteArray image;
    QString catalogueDir;
};

struct ScriptResult {
    enum class End { Finished, Failed, Stopped, TimedOut };
    End end = End::Finished;
    QString error;          // Failed: "FILE:LINE: message"; Stopped, TimedOut: what stopped it
    QByteArray image;       // Finished: the image as the script left it
    bool changed = false;   // Finished: the image differs from the request's
};

// Lets another thread stop a running script; safe to call from any thread,
// before, during or after the run.
class ScriptStopper {
public:
    enum class Reason { None, Stop, Timeout };
    void stop(Reason reason = Reason::Stop);
    Reason reason() const;

private:
    friend class ScriptStopperScope;
    mutable QMutex m_mutex;
    QJSEngine* m_engine = nullptr;
    Reason m_reason = Reason::None;
};

// Runs the script on the calling thread with an engine of its own, which
// reaches nothing but the API it is given: no files, processes or network.
// `log` is called on the calling thread with each line the script logs.
ScriptResult runScript(const ScriptRequest& request, const std::function<void(const QString&)>& log,
                       ScriptStopper* stopper = nullptr);
// The same, `log` called with the lines in batches, in order: every line by
// the end of the run, and a line after a quiet spell at once. The script
// runs in `engine` when given (made ahead and not yet used for a script),
// else in an engine of its own.
ScriptResult runScriptBatched(const ScriptRequest& request, const std::function<void(const QStringList&)>& log,
                              ScriptStopper* stopper = nullptr, QJSEngine* engine = nullptr);
