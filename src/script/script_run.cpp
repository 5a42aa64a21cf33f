#include "script/script_run.h"

#include "script/script_api.h"

#include <QJSEngine>
#include <QMutexLocker>

void ScriptStopper::stop(Reason reason)
{
    QMutexLocker lock(&m_mutex);
    if (m_reason == Reason::None)
        m_reason = reason;
    if (m_engine)
        m_engine->setInterrupted(true);
}

ScriptStopper::Reason ScriptStopper::reason() const
{
    QMutexLocker lock(&m_mutex);
    return m_reason;
}

// Makes the engine known to the stopper for the length of the run.
class ScriptStopperScope {
public:
    ScriptStopperScope(ScriptStopper* stopper, QJSEngine* engine) : m_stopper(stopper)
    {
        if (!m_stopper)
            return;
        QMutexLocker lock(&m_stopper->m_mutex);
        m_stopper->m_engine = engine;
        if (m_stopper->m_reason != ScriptStopper::Reason::None)
            engine->setInterrupted(true);
    }
    ~ScriptStopperScope()
    {
        if (!m_stopper)
            return;
        QMutexLocker lock(&m_stopper->m_mutex);
        m_stopper->m_engine = nullptr;
    }

private:
    ScriptStopper* m_stopper;
};

namespace {

// Receives the lines of `log(...)`.
class ScriptLog : public QObject {
    Q_OBJECT
public:
    explicit ScriptLog(const std::function<void(const QString&)>& sink) : m_sink(sink) {}
    Q_INVOKABLE void line(const QString& text)
    {
        if (m_sink)
            m_sink(text);
    }

private:
    const std::function<void(const QString&)>& m_sink;
};

// The line of the script where the failing call stands: the first frame of
// Qt's trace ("function:LINE:COLUMN:FILE") that lies in the script, so that
// a call made through the API's own wrappers (which have no file) is told at
// the script's line. A stack overflow is caught on entering a function,
// before its first line: the frame below it holds the call that overflowed.
int errorLine(const QJSValue& error, const QStringList& trace)
{
    qsizetype first = 0;
    if (error.isError() && error.property(QStringLiteral("message")).toString().startsWith(
                               QLatin1String("Maximum call stack size exceeded")))
        first = 1;
    for (qsizetype i = first; i < trace.size(); ++i)
        if (!trace.at(i).section(QLatin1Char(':'), 3).isEmpty())
            return trace.at(i).section(QLatin1Char(':'), 1, 1).toInt();
    return error.property(QStringLiteral("lineNumber")).toInt();
}

// An Error object is said by its message, anything else thrown as it is.
QString errorText(const QJSValue& error, const QStringList& trace, const QString& fileName)
{
    const QString message =
        error.isError() ? error.property(QStringLiteral("message")).toString() : error.toString();
    return QStringLiteral("%1:%2: %3").arg(fileName).arg(errorLine(error, trace)).arg(message);
}

} // namespace

ScriptResult runScript(const ScriptRequest& request, const std::function<void(const QString&)>& log,
                       ScriptStopper* stopper)
{
    ScriptApi api(request.image, request.catalogueDir);
    QJSEngine engine;
    ScriptLog logger(log);
    QJSEngine::setObjectOwnership(&logger, QJSEngine::CppOwnership);
    api.install(engine);

    QJSValue global = engine.globalObject();
    // log(...) joins its arguments as console.log does.
    const QJSValue makeLog = engine.evaluate(QStringLiteral(
        "(function (host) { return function log() {"
        " var text = '';"
        " for (var i = 0; i < arguments.length; ++i) {"
        "  var a = arguments[i];"
        "  if (i > 0) text += ' ';"
        "  text += typeof a === 'object' && a !== null ? JSON.stringify(a) : String(a);"
        " }"
        " host.line(text); }; })"));
    global.setProperty(QStringLiteral("log"), makeLog.call({engine.newQObject(&logger)}));
    QJSValue args = engine.newArray(quint32(request.args.size()));
    for (qsizetype i = 0; i < request.args.size(); ++i)
        args.setProperty(quint32(i), request.args.at(i));
    global.setProperty(QStringLiteral("args"), args);

    ScriptResult result;
    QJSValue value;
    QStringList trace;
    {
        ScriptStopperScope scope(stopper, &engine);
        value = engine.evaluate(request.source, request.fileName, 1, &trace);
    }
    const ScriptStopper::Reason reason = stopper ? stopper->reason() : ScriptStopper::Reason::None;
    if (reason == ScriptStopper::Reason::Timeout) {
        result.end = ScriptResult::End::TimedOut;
        result.error = QStringLiteral("%1: stopped: it ran longer than it may.").arg(request.fileName);
    } else if (reason == ScriptStopper::Reason::Stop) {
        result.end = ScriptResult::End::Stopped;
        result.error = QStringLiteral("%1: stopped.").arg(request.fileName);
    } else if (!trace.isEmpty()) {
        // Only what is thrown fails the script: an Error object left as the
        // last value is a value like any other.
        result.end = ScriptResult::End::Failed;
        result.error = errorText(value, trace, request.fileName);
    } else {
        result.image = api.image();
        result.changed = result.image != request.image;
    }
    return result;
}

#include "script_run.moc"
