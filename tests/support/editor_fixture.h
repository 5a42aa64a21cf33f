#pragma once

#include "app/editor_state.h"
#include "app/ui/main_form.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <memory>

// A small editor on a temporary program directory: catalogue files for two
// tilesets and a few maps, a tile picture and a 64 KiB pattern ROM "rom.gbc".
//   Towns:  "Alpha Town" (tileset 1, 10 x 9 at 0x1000), "Beta Town" (tileset 2, 4 x 4 at 0x2000),
//           "Gamma" (listed, but no Maps.Ini section)
//   Routes: "Route 1" (tileset 1, 20 x 18 at 0x3000, encounters at 0x5000)
class EditorFixture {
public:
    EditorFixture();
    // Writes the catalogue files; tests may overwrite single files afterwards.
    void writeCatalogue();
    // Creates the editor (the catalogue is read at creation).
    TMainForm& open();
    TMainForm& openWithRom();
    void pickCategory(const QString& category);
    void pickMap(const QString& category, const QString& map);

    static constexpr int RomSize = 0x10000;

    // The title as the window system shows it: "[*]" becomes "*" while modified.
    static QString shownTitle(const QWidget& window);

    TestDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<EditorState> state;
    std::unique_ptr<TMainForm> form;
};
