#pragma once

#include "base/prompts.h"


class QTextStream;

// The prompts of batch work: no window ever opens. Messages go to stderr; a
// question gets the answer the command line gave for it (Yes with --force,
// else No). File dialogs are never answered.
class BatchPrompts : public Prompts {
public:
    BatchPrompts(QTextStream& err, bool answerYes) : m_err(err), m_answerYes(answerYes) {}

    Answer message(Kind kind, const QString& text, Buttons buttons) override;
    std::optional<QString> openFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest&) override { return std::nullopt; }
    void about(const QString&, const QString&) override {}
    int pause(int) override { return 0; }

private:
    QTextStream& m_err;
    bool m_answerYes;
};
