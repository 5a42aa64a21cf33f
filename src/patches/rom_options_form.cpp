// Placeholder until the ROM options dialog is built.
#include "patches/rom_options_form.h"

TRomOptionsForm::TRomOptionsForm(EditorCore&, Prompts&, QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Rom Options"));
}
void TRomOptionsForm::LoadOptions() {}
void TRomOptionsForm::RomOptions1Click() {}
