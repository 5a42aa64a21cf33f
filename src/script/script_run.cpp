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

// An Error object tells its line; anything else thrown is said as it is, at
// the line of the stack's top ("function:LINE:COLUMN:FILE" in Qt's trace).
QString errorText(const QJSValue& error, const QStringList& trace, const QString& fileName)
{
    int line = error.property(QStringLiteral("lineNumber")).toInt();
    if (line <= 0 && !trace.isEmpty())
        line = trace.first().section(QLatin1Char(':'), 1, 1).toInt();
    const QString message =
        error.isError() ? error.property(QStringLiteral("message")).toString() : error.toString();
    return QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(message);
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
        "(function (host) { return function () {"
        " host.line(Array.prototype.map.call(arguments, function (a) {"
        "  return typeof a === 'object' && a !== null ? JSON.stringify(a) : String(a); }).join(' ')); }; })"));
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
    } else if (value.isError() || !trace.isEmpty()) {
        result.end = ScriptResult::End::Failed;
        result.error = errorText(value, trace, request.fileName);
    } else {
        result.image = api.image();
        result.changed = result.image != request.image;
    }
    return result;
}

#include "script_run.moc"
