#pragma once

#include "model/catalogue/map_record.h"
#include "model/map/tileset_blocks.h"

#include <QWidget>
#include <array>

class ImageBox;
class EditorSession;
class QLabel;
class QMouseEvent;
class QPushButton;
class QScrollArea;

// The block editor: recomposes one block of the current tileset tile by tile.
class TBlockEditorForm : public QWidget {
    Q_OBJECT
public:
    // Follows the session: an open editor follows a map pick, hides when a
    // new ROM image is loaded, and shows the palette as the map page does.
    explicit TBlockEditorForm(EditorSession& session, QWidget* parent = nullptr);

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
    QPushButton* FindUses1 = nullptr;   // lists the maps of the tileset using the block

    qint32 BlockOffset = 0;                // ROM offset of the block under edit
    qint32 BlockIndex = 0;                 // its palette row, from 0
    BlockTileNumbers BlockTiles{};         // its tile numbers, row by row
    qint32 PickedTile = 0;                 // the tile last picked in Image1

signals:
    void findUsesRequested(qint32 tileset, qint32 block);

protected:
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    void openOnCurrentTileset();
    // True while the tileset the editor opened on is still the current one.
    bool editsCurrentTileset() const;
    void copyPalette();
    // The read-outs for the block under edit and the tile picked.
    void showReadouts();
    void fitReadouts();

    void BlockBoxMouseMove(QMouseEvent* event);
    void BlockBoxMouseDown(QMouseEvent* event);
    void Image1MouseMove(QMouseEvent* event);
    void Image1MouseDown(QMouseEvent* event);
    void TileBoxMouseDown(QMouseEvent* event);
    void Button1Click();

    EditorSession& m_session;
    // The tileset the editor opened on; 0 before the first opening.
    qint32 m_tileset = 0;
    qint32 m_tilesetStart = 0;
    qint32 m_tilesetBlocks = 0;
};
