#pragma once

#include "base/prompts.h"

// Prompts for the benchmarks: every question is answered Yes, every file
// dialog is cancelled, pauses take no time.
class SilentPrompts : public Prompts {
public:
    Answer message(Kind, const QString&, Buttons buttons) override
    {
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    std::optional<QString> openFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest&) override { return std::nullopt; }
    void about(const QString&, const QString&) override {}
    int pause(int) override { return 0; }
};
