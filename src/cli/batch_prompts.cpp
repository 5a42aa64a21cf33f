#include "cli/batch_prompts.h"

#include <QTextStream>

Prompts::Answer BatchPrompts::message(Kind kind, const QString& text, Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        break;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        if (m_answerYes)
            return Answer::Yes;
        m_declined << text;
        m_err << text << '\n';
        return Answer::No;
    case Buttons::SaveDiscardCancel:
        // Nothing of a batch run is ever left unsaved by a question.
        m_declined << text;
        return Answer::Cancel;
    }
    if (kind == Kind::Error || kind == Kind::Warning)
        m_problems << text;
    m_err << text << '\n';
    m_err.flush();
    return Answer::Ok;
}

void BatchPrompts::clear()
{
    m_problems.clear();
    m_declined.clear();
}
