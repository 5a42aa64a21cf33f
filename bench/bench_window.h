#pragma once

// The main window on the demo image of a program folder, shown.
#include "bench_field.h"
#include "silent_prompts.h"

#include "session/editor_state.h"
#include "ui/main/main_form.h"

#include <QComboBox>
#include <QDir>

#include <memory>

namespace bench {

struct BenchWindow {
    std::unique_ptr<EditorState> state;
    SilentPrompts prompts;
    std::unique_ptr<TMainForm> form;

    // False when the image is refused. The folder's catalogue is written before this.
    bool open(const QString& dir)
    {
        state = std::make_unique<EditorState>(dir);
        form = std::make_unique<TMainForm>(*state, prompts);
        if (!form->loadRom(QDir(dir).filePath(QStringLiteral("demo.gbc"))))
            return false;
        form->show();
        return true;
    }

    // The bench field's map picked as a user picks it; false when refused.
    bool pickField()
    {
        form->MainBox->setCurrentIndex(form->MainBox->findText(Category));
        form->MainBoxClick();
        form->pickMap(Map, true);
        return state->core.map.name == Map;
    }
};

} // namespace bench
