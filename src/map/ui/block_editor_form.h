#pragma once

#include "catalogue/editor_core.h"
#include "map/block_pictures.h"
#include "map/tile_picture.h"

#include <QWidget>
#include <array>

class ImageBox;
class MapPage;
class Prompts;
class QLabel;
class QMouseEvent;
class QPushButton;
class QScrollArea;

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

    // Reads, stores and draws the block under edit (its 16 tile numbers).
    void LoadTile();
    void SaveTile();
    void UpdateTile();

    QScrollArea* ScrollBox1 = nullptr;
    ImageBox* BlockBox = nullptr;
    ImageBox* TileBox = nullptr;
    ImageBox* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button1 = nullptr;

    qint32 BlockOffset = 0;                // ROM offset of the block under edit
    qint32 BlockIndex = 0;                 // its palette row, from 0
    std::array<qint32, 16> BlockTiles{};   // its tile numbers, row by row
    qint32 PickedTile = 0;                 // the tile last picked in Image1

private:
    void FormCreate();
    void openOnCurrentTileset();
    // True while the tileset the editor opened on is still the current one.
    bool editsCurrentTileset() const;
    void copyPalette();

    void BlockBoxMouseMove(QMouseEvent* event);
    void BlockBoxMouseDown(QMouseEvent* event);
    void Image1MouseMove(QMouseEvent* event);
    void Image1MouseDown(QMouseEvent* event);
    void TileBoxMouseDown(QMouseEvent* event);
    void Button1Click();

    EditorCore& m_core;
    BlockPictures& m_pictures;
    TilePicture& m_pics;
    MapPage& m_mapPage;
    Prompts& m_prompts;
    // The tileset the editor opened on; 0 before the first opening.
    qint32 m_tileset = 0;
    qint32 m_tilesetStart = 0;
    qint32 m_tilesetBlocks = 0;
};
