#include "cli/batch_prompts.h"

#include <QTextStream>

Prompts::Answer BatchPrompts::message(Kind, const QString& text, Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        break;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        if (m_answerYes)
            return Answer::Yes;
        m_err << text << '\n';
        return Answer::No;
    case Buttons::SaveDiscardCancel:
        // Nothing of a batch run is ever left unsaved by a question.
        return Answer::Cancel;
    case Buttons::OverwriteSaveAsCancel:
        // A file another program changed is never overwritten unasked.
        m_err << text << '\n';
        m_err.flush();
        return Answer::Cancel;
    }
    m_err << text << '\n';
    m_err.flush();
    return Answer::Ok;
}
