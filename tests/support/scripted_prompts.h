#pragma once

#include "base/prompts.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>
#include <optional>

// Prompts for tests: records every message and dialog, answers from queues.
// An unanswered question is answered Yes (Discard where Save is offered, Overwrite
// where it is offered); an unanswered file dialog is cancelled.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        Kind kind;
        QString text;
        Buttons buttons;
    };

    Answer message(Kind kind, const QString& text, Buttons buttons = Buttons::Ok) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    void about(const QString& title, const QString& text) override;
    int pause(int milliseconds) override;

    // Queue answers.
    void answer(Answer a) { answers.push_back(a); }
    void chooseFile(const std::optional<QString>& path) { files.push_back(path); }

    QStringList texts() const;
    QString lastText() const { return shown.empty() ? QString() : shown.back().text; }

    std::deque<Answer> answers;
    std::deque<std::optional<QString>> files;
    std::vector<Shown> shown;
    std::vector<FileRequest> fileRequests;
    std::vector<int> pauses;
    int pauseLength = 0;   // what pause() answers: tests run at full speed
    // Called on every pause, so a test can look at the screen between steps.
    std::function<void()> onPause;
    // Called while a message is up, as long as a message box would be (its own event loop, say).
    std::function<void()> onMessage;
};
