#pragma once

#include "catalogue/editor_core.h"

#include <QWidget>

class Prompts;

// "Rom Options": the one-byte patches listed in Options.ini.
class TRomOptionsForm : public QWidget {
    Q_OBJECT
public:
    TRomOptionsForm(EditorCore& core, Prompts& prompts, QWidget* parent = nullptr);

    void LoadOptions();
    // "Utilies" > "Rom Options...".
    void RomOptions1Click();
};
