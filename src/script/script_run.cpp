#include "script/script_run.h"

#include "script/script_api.h"

#include <QJSEngine>
#include <QMutexLocker>

#include <optional>

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

// Receives the lines of `log(...)` in batches.
class ScriptLog : public QObject {
    Q_OBJECT
public:
    explicit ScriptLog(const std::function<void(const QStringList&)>& sink) : m_sink(sink) {}
    // The first `size` of `values` hold each line as its count of parts and
    // the parts, every part a string, a number or (rarely) what
    // JSON.stringify left: the parts are turned into text here, as String()
    // would, and joined by spaces.
    Q_INVOKABLE void lines(const QJSValue& values, quint32 size)
    {
        QStringList texts;
        for (quint32 i = 0; i < size;) {
            const quint32 parts = values.property(i++).toUInt();
            QString text;
            for (quint32 k = 0; k < parts && i < size; ++k, ++i) {
                if (k > 0)
                    text += QLatin1Char(' ');
                text += values.property(i).toString();
            }
            texts.append(text);
        }
        if (m_sink && !texts.isEmpty())
            m_sink(texts);
    }

private:
    const std::function<void(const QStringList&)>& m_sink;
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
    return runScriptBatched(
        request,
        [&log](const QStringList& lines) {
            if (log)
                for (const QString& line : lines)
                    log(line);
        },
        stopper);
}

ScriptResult runScriptBatched(const ScriptRequest& request, const std::function<void(const QStringList&)>& log,
                              ScriptStopper* stopper, QJSEngine* given)
{
    ScriptApi api(request.image, request.catalogueDir);
    std::optional<QJSEngine> own;
    QJSEngine& engine = given ? *given : own.emplace();
    ScriptLog logger(log);
    QJSEngine::setObjectOwnership(&logger, QJSEngine::CppOwnership);
    api.install(engine);

    QJSValue global = engine.globalObject();
    // log(...) joins its arguments as console.log does. A call into the host
    // costs far more than the joining, so the lines wait in the script's own
    // list (one array, made once, that the engine need not grow or collect)
    // and go over together: when many have gathered, when 20 ms have
    // passed since the last went (the first line after a quiet spell goes at
    // once), and at the end of the run.
    const QJSValue makeLog = engine.evaluate(QStringLiteral(
        "(function (host) {"
        " var pending = new Array(8192), at = 0, count = 0, sentAt = -Infinity;"
        " function flush() {"
        "  sentAt = Date.now();"
        "  if (count === 0) return;"
        "  var size = at; at = 0; count = 0; host.lines(pending, size); }"
        " function log() {"
        "  var n = arguments.length;"
        "  if (at + n >= pending.length) flush();"
        "  pending[at++] = n;"
        "  for (var i = 0; i < n; ++i) {"
        "   var a = arguments[i], t = typeof a;"
        "   pending[at++] = t === 'string' || t === 'number' ? a"
        "                   : t === 'object' && a !== null ? JSON.stringify(a) : String(a);"
        "  }"
        "  if (++count >= 1024 || Date.now() - sentAt >= 20) flush(); }"
        " return [log, flush]; })"));
    const QJSValue logAndFlush = makeLog.call({engine.newQObject(&logger)});
    global.setProperty(QStringLiteral("log"), logAndFlush.property(0));
    const QJSValue flushLog = logAndFlush.property(1);
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
    // The lines still waiting go before the run's end is told; a stopped
    // engine is let run again for that, out of the stopper's reach.
    engine.setInterrupted(false);
    flushLog.call();
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
