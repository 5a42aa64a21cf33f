#pragma once

#include "session/session_outcome.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class EditorSession;

// A program and its arguments, ready to start.
struct ProgramCall {
    QString program;        // empty: there is no command
    QStringList arguments;
};

// The call an emulator command makes for `file`: the command is split into
// words as a shell would (quotes keep spaces), the first word is the program,
// and %f in any argument becomes the file; without a %f, the file is the last
// argument.
ProgramCall emulatorCall(const QString& command, const QString& file);

// Test play: the image as Save Rom would write it goes into a file of this
// run's own temporary folder (never the ROM file; the image and its modified
// mark stay as they are) and the emulator command starts on it, on its own.
class TestPlay {
public:
    // Done: started, and the note says so for the status line.
    SessionOutcome start(const EditorSession& session, const QString& command);

private:
    std::unique_ptr<QTemporaryDir> m_dir;   // made at the first play, removed with this object
};
