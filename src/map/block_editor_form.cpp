// Placeholder until the block editor is built.
#include "map/block_editor_form.h"

TBlockEditorForm::TBlockEditorForm(EditorCore&, BlockPictures&, TilePicture&, MapPage&, Prompts&, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Block Editor"));
}

void TBlockEditorForm::BlockEditor1Click() {}
void TBlockEditorForm::followMapPick() {}
