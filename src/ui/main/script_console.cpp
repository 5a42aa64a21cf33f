#include "ui/main/script_console.h"

#include "script/script_job.h"
#include "session/editor_session.h"
#include "base/prompts.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

ScriptConsole::ScriptConsole(EditorSession& session, QWidget* parent)
    : QDockWidget(QStringLiteral("Script Console"), parent), m_session(session)
{
    setObjectName(QStringLiteral("ScriptConsole"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    Output = new QPlainTextEdit(body);
    Output->setObjectName(QStringLiteral("ScriptConsoleOutput"));
    Output->setReadOnly(true);
    Output->setLineWrapMode(QPlainTextEdit::NoWrap);
    Output->setMaximumBlockCount(10000);
    layout->addWidget(Output, 1);
    Input = new QLineEdit(body);
    Input->setObjectName(QStringLiteral("ScriptConsoleInput"));
    Input->setPlaceholderText(QStringLiteral("JavaScript, for instance log(rom.size)"));
    Input->installEventFilter(this);
    layout->addWidget(Input);
    setWidget(body);
    // Opened from the View menu: the keyboard goes to the input line.
    connect(toggleViewAction(), &QAction::triggered, this, [this](bool shown) {
        if (!shown)
            return;
        raise();
        Input->setFocus(Qt::OtherFocusReason);
    });

    // A line's process starts while the user types it.
    connect(this, &QDockWidget::visibilityChanged, this, [](bool shown) {
        if (shown)
            ScriptJob::prepareProcess();
    });

    job = new ScriptJob(this);
    connect(job, &ScriptJob::logLines, this, [this](const QStringList& lines) {
        Output->appendPlainText(lines.join(QLatin1Char('\n')));
    });
    connect(job, &ScriptJob::finished, this, &ScriptConsole::finished);
    connect(Input, &QLineEdit::returnPressed, this, [this] {
        if (runLine(Input->text()))
            Input->clear();
    });
}

bool ScriptConsole::isRunning() const
{
    return job->isRunning();
}

void ScriptConsole::setMemoryMiB(qint64 memoryMiB)
{
    job->setMemoryMiB(memoryMiB);
}

bool ScriptConsole::runLine(const QString& line)
{
    if (line.trimmed().isEmpty() || job->isRunning() || !m_session.state().core.romLoaded())
        return false;
    WholeImageChange::Start start = m_session.wholeImage().begin();
    if (!start.outcome.isDone()) {
        if (start.outcome.isRefused())
            Output->appendPlainText(start.outcome.refusal);
        return false;
    }
    if (m_history.isEmpty() || m_history.constLast() != line)
        m_history << line;
    m_historyAt = m_history.size();
    m_line = line;
    Output->appendPlainText(QStringLiteral("> ") + line);
    // The line's value is shown as log shows a value: eval gives the value
    // of a statement as well as of an expression.
    const QString quoted = QString::fromUtf8(QJsonDocument(QJsonArray{line}).toJson(QJsonDocument::Compact));
    const QString source =
        QStringLiteral("(function (v) { if (v !== undefined) log(v); })(eval(%1[0]));").arg(quoted);
    const ScriptRequest request{QStringLiteral("console"), source, {}, start.image,
                                m_session.state().core.catalogue.programDir};
    m_start = std::move(start);
    Input->setEnabled(false);
    job->start(request);
    return true;
}

void ScriptConsole::finished(const ScriptResult& result)
{
    ScriptJob::prepareProcess();   // for the next line
    Input->setEnabled(true);
    Input->setFocus();
    const WholeImageChange::Start start = std::move(m_start);
    m_start = {};
    if (result.end != ScriptResult::End::Finished) {
        Output->appendPlainText(result.error);
        return;
    }
    if (!result.changed)
        return;
    const SessionOutcome applied =
        m_session.wholeImage().finish(start, QStringLiteral("Console %1").arg(m_line.left(40)), result.image);
    Output->appendPlainText(applied.isRefused() ? applied.refusal : QStringLiteral("The image was changed."));
}

void ScriptConsole::showHistory(int step)
{
    const qsizetype at = qBound<qsizetype>(0, m_historyAt + step, m_history.size());
    if (at == m_historyAt)
        return;
    m_historyAt = at;
    Input->setText(at < m_history.size() ? m_history.at(at) : QString());
}

bool ScriptConsole::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Input && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            showHistory(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}
