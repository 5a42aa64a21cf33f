#pragma once

#include "catalogue/editor_core.h"
#include "map/block_pictures.h"
#include "map/map_state.h"
#include "map/tile_picture.h"

#include <QWidget>
#include <memory>

class BlockPaletteBox;
class MapRenderer;
class MapView;
class ZoomSetting;
class Prompts;
class QMouseEvent;
class QAction;
class QProgressBar;
class QScrollArea;

// The "Map" page: the map view MapBox in ScrollBox1 and, along the right
// edge, the block palette BlockPalette in ScrollBox2.
class MapPage : public QWidget {
    Q_OBJECT
public:
    MapPage(EditorCore& core, MapState& state, BlockPictures& pictures, TilePicture& Pics,
            Prompts& prompts, QProgressBar* Progress, QAction* Grid1, QWidget* parent = nullptr);
    ~MapPage() override;

    // Builds the block pictures of the current tileset (map pick, when not yet built).
    void LoadTileset();
    // Redraws the palette image for the current tileset.
    void UpdateBlockPalette();
    // Reads the current map's bytes and draws them.
    void LoadMap();
    // Full redraw of the map view.
    void UpdateMap();
    // Writes the map bytes into the ROM image (Save Rom, Save Rom As).
    void SaveMap();
    // The "Show Grid" toggle.
    void Grid1Click();
    // A new ROM image was loaded: no current map, empty view and palette.
    void clearMap();

    MapView* MapBox = nullptr;
    QWidget* BlockPalette = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QScrollArea* ScrollBox2 = nullptr;
    // The palette's off-screen image, 64 x 8192.
    QImage& paletteImage();
    // What draws the map, for the views and the picture export.
    const MapRenderer& renderer() const { return *m_renderer; }
    // The map view follows the zoom shared with the event view.
    void followZoom(ZoomSetting* zoom);

signals:
    // Text for status panel 0.
    void statusText(const QString& text);
    // UpdateBlockPalette enables "Save Map Picture..." and "Save Tileset Picture...".
    void pictureCommandsEnabled();

private:
    // Pointer handlers of the map view, in map cells.
    void MapBoxMouseMove(QPoint cell);
    void MapBoxMouseDown(QPoint cell, Qt::MouseButton button);
    void MapBoxMouseUp();
    void BlockPaletteMouseMove(QMouseEvent* event);
    void BlockPaletteMouseDown(QMouseEvent* event);

    bool gridOn() const;
    // The index of cell (column, row), or -1 outside the map's cells.
    int cellAt(QPoint cell) const;
    // Frames the palette row of SelectedBlock.
    void showSelectedBlock();
    void setViewEnabled(bool enabled);

    EditorCore& m_core;
    MapState& m_state;
    BlockPictures& m_pictures;
    TilePicture& m_pics;
    Prompts& m_prompts;
    QProgressBar* m_progress;
    QAction* m_grid;
    BlockPaletteBox* m_palette = nullptr;   // BlockPalette
    std::unique_ptr<MapRenderer> m_renderer;
    bool m_viewEnabled = false;      // set by the first tileset build
};
