#include "script/script_job.h"

#include <QTimer>

ScriptJob::ScriptJob(QObject* parent) : QObject(parent), m_timer(new QTimer(this))
{
    qRegisterMetaType<ScriptResult>();
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_stopper)
            m_stopper->stop(ScriptStopper::Reason::Timeout);
    });
}

ScriptJob::~ScriptJob()
{
    stop();
}

bool ScriptJob::start(const ScriptRequest& request, int timeoutMs)
{
    if (m_run.isRunning())
        return false;
    auto stopper = std::make_shared<ScriptStopper>();
    m_stopper = stopper;
    m_run.add([this, request, stopper](JobRunner::Job& job) -> JobRunner::Handover {
        // A script that logs faster than its lines are shown waits for room,
        // until it is stopped.
        const auto stopped = [&] { return stopper->reason() != ScriptStopper::Reason::None; };
        const auto log = [&](const QString& line) { job.post([this, line] { emit logLine(line); }, stopped); };
        const ScriptResult result = runScript(request, log, stopper.get());
        return {[this, result] {
            m_timer->stop();
            emit finished(result);
        }};
    });
    m_timer->start(qMax(0, timeoutMs));
    return true;
}

void ScriptJob::stop()
{
    if (m_stopper)
        m_stopper->stop(ScriptStopper::Reason::Stop);
}
