#include "ui/main/script_output_panel.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ScriptOutputPanel::ScriptOutputPanel(QWidget* parent) : QDockWidget(QStringLiteral("Script Output"), parent)
{
    setObjectName(QStringLiteral("ScriptOutput"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    Log = new QPlainTextEdit(body);
    Log->setObjectName(QStringLiteral("ScriptLog"));
    Log->setReadOnly(true);
    Log->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A script that logs without end must not eat the memory.
    Log->setMaximumBlockCount(10000);
    layout->addWidget(Log, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Stop = new QPushButton(QStringLiteral("Stop"), body);
    Stop->setObjectName(QStringLiteral("ScriptStop"));
    Stop->setEnabled(false);
    buttons->addWidget(Stop);
    layout->addLayout(buttons);
    setWidget(body);
}

void ScriptOutputPanel::begin(const QString& name)
{
    Log->clear();
    addLine(QStringLiteral("Running %1...").arg(name));
    show();
    raise();
}

void ScriptOutputPanel::addLine(const QString& line)
{
    Log->appendPlainText(line);
}

void ScriptOutputPanel::addLines(const QStringList& lines)
{
    // The panel keeps the last lines only: a flood is cut before it is shown.
    const qsizetype kept = Log->maximumBlockCount();
    Log->appendPlainText(lines.mid(qMax<qsizetype>(0, lines.size() - kept)).join(QLatin1Char('\n')));
}

void ScriptOutputPanel::setRunning(bool running)
{
    Stop->setEnabled(running);
}

QString ScriptOutputPanel::text() const
{
    return Log->toPlainText();
}
