#pragma once

#include <QString>
#include <optional>

// Every message box, file dialog and pause of the editor goes through this
// interface, so that tests can answer them and run at full speed.
class Prompts {
public:
    enum class Kind { Plain, Information, Warning, Error, Confirmation };
    enum class Buttons { Ok, YesNo, YesNoCancel, SaveDiscardCancel, OverwriteSaveAsCancel };
    enum class Answer { Ok, Yes, No, Cancel, Save, Discard, Overwrite, SaveAs };

    // A file dialog request. `filter` uses the "Name|pattern;pattern|..." form
    // of the catalogue era ("Maps (*.map)|*.map|All Files (*.*)|*.*").
    struct FileRequest {
        QString title;
        QString filter;
        QString defaultSuffix;   // without the dot, such as "map"
        QString initialName;     // proposed file name or path, or the folder to open in; may be empty
    };

    virtual ~Prompts() = default;

    virtual Answer message(Kind kind, const QString& text, Buttons buttons = Buttons::Ok) = 0;
    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest& request) = 0;
    virtual void about(const QString& title, const QString& text) = 0;
    // The randomizer's pause after a slot: how many milliseconds the editor
    // waits before the next one, without holding the user-interface thread.
    virtual int pause(int milliseconds) = 0;

    // Shorthands.
    void error(const QString& text) { message(Kind::Error, text); }
    bool ask(Kind kind, const QString& text) { return message(kind, text, Buttons::YesNo) == Answer::Yes; }
};
