#pragma once

#include "base/prompts.h"

#include <QStringList>

class QTextStream;

// The prompts of batch work: no window ever opens. Messages go to stderr and
// are kept; a question gets the answer the command line gave for it (Yes
// with --force, else No) and is kept too, so that the caller can tell a
// declined question from work done. File dialogs are never answered.
class BatchPrompts : public Prompts {
public:
    BatchPrompts(QTextStream& err, bool answerYes) : m_err(err), m_answerYes(answerYes) {}

    Answer message(Kind kind, const QString& text, Buttons buttons) override;
    std::optional<QString> openFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest&) override { return std::nullopt; }
    void about(const QString&, const QString&) override {}
    void pause(int) override {}

    // Errors and warnings shown since the last clear.
    const QStringList& problems() const { return m_problems; }
    // Questions answered No since the last clear.
    const QStringList& declined() const { return m_declined; }
    void clear();

private:
    QTextStream& m_err;
    bool m_answerYes;
    QStringList m_problems;
    QStringList m_declined;
};
