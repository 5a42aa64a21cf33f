#include "support/scripted_prompts.h"

Prompts::Answer ScriptedPrompts::message(Kind kind, const QString& text, Buttons buttons)
{
    shown.push_back({kind, text, buttons});
    if (onMessage)
        onMessage();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return buttons == Buttons::SaveDiscardCancel       ? Answer::Discard
               : buttons == Buttons::OverwriteSaveAsCancel ? Answer::Overwrite
                                                           : Answer::Yes;
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedPrompts::openFile(const FileRequest& request)
{
    fileRequests.push_back(request);
    if (files.empty())
        return std::nullopt;
    const bool chosen = files.front().has_value();
    const QString path = chosen ? *files.front() : QString();
    files.pop_front();
    if (!chosen)
        return std::nullopt;
    return path;
}

std::optional<QString> ScriptedPrompts::saveFile(const FileRequest& request)
{
    return openFile(request);
}

void ScriptedPrompts::about(const QString& title, const QString& text)
{
    shown.push_back({Kind::Information, title + QLatin1Char('\n') + text, Buttons::Ok});
}

int ScriptedPrompts::pause(int milliseconds)
{
    pauses.push_back(milliseconds);
    if (onPause)
        onPause();
    return pauseLength;
}

QStringList ScriptedPrompts::texts() const
{
    QStringList result;
    for (const Shown& s : shown)
        result << s.text;
    return result;
}
