#pragma once

#include "catalogue/editor_core.h"
#include "map/block_pictures.h"
#include "map/tile_picture.h"

#include <QWidget>

class MapPage;
class Prompts;

// The block editor: recomposes one block of the current tileset tile by tile.
class TBlockEditorForm : public QWidget {
    Q_OBJECT
public:
    TBlockEditorForm(EditorCore& core, BlockPictures& pictures, TilePicture& Pics, MapPage& mapPage,
                     Prompts& prompts, QWidget* parent = nullptr);

    // "Utilies" > "Block Editor...".
    void BlockEditor1Click();
    // The main window picked a map: an open editor follows the new tileset.
    void followMapPick();
};
