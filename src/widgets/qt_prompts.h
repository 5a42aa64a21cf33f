#pragma once

#include "base/prompts.h"

class QWidget;

// Converts "Name|*.a;*.b|All|*.*" into Qt's "Name (*.a *.b);;All (*)".
QString qtFileFilter(const QString& filter);

// The real dialogs, owned by a window.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    Answer message(Kind kind, const QString& text, Buttons buttons = Buttons::Ok) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    void about(const QString& title, const QString& text) override;
    int pause(int milliseconds) override;

private:
    QWidget* m_owner;
};
