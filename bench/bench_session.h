#pragma once

// A session without a window on the demo image of a program folder.
#include "silent_prompts.h"

#include "session/editor_session.h"
#include "session/editor_state.h"
#include "session/recovery_keeper.h"

#include <QDir>

#include <memory>

namespace bench {

struct BenchSession {
    std::unique_ptr<EditorState> state;
    SilentPrompts prompts;
    std::unique_ptr<EditorSession> session;

    // Loads `rom` (the folder's demo.gbc by default) and, when given, picks
    // `map`; false when either is refused. The folder's catalogue is written
    // before this.
    bool open(const QString& dir, const QString& map = {}, const QString& rom = QStringLiteral("demo.gbc"))
    {
        state = std::make_unique<EditorState>(dir);
        session = std::make_unique<EditorSession>(*state, prompts);
        session->recovery().setFolder(QDir(dir).filePath(QStringLiteral("recovery")));
        return session->loadRom(QDir(dir).filePath(rom)).isDone()
            && (map.isEmpty() || session->pickMap(map).outcome.isDone());
    }
};

} // namespace bench
