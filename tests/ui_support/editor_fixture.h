#pragma once

#include "session/editor_state.h"
#include "ui/main/main_form.h"
#include "support/catalogue_fixture.h"
#include "support/scripted_prompts.h"

#include <memory>

// A small editor on the catalogue fixture's files.
class EditorFixture : public CatalogueFixture {
public:
    // Creates the editor (the catalogue is read at creation), with the
    // user's settings when given.
    TMainForm& open(UserSettings* settings = nullptr);
    TMainForm& openWithRom(UserSettings* settings = nullptr);
    void pickCategory(const QString& category);
    void pickMap(const QString& category, const QString& map);

    // The title as the window system shows it: "[*]" becomes "*" while modified.
    static QString shownTitle(const QWidget& window);

    ScriptedPrompts prompts;
    std::unique_ptr<EditorState> state;
    std::unique_ptr<TMainForm> form;
};
