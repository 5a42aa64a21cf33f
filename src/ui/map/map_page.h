#pragma once

#include "model/map/cell_mask.h"
#include "model/map/map_region.h"

#include <QImage>
#include <QRect>
#include <QWidget>
#include <memory>

class BlockPaletteBox;
class EditorSession;
class MapRenderer;
class MapView;
class QMouseEvent;
class QScrollArea;
class ZoomSetting;

// The "Map" page: the map view MapBox in ScrollBox1 and, along the right
// edge, the block palette BlockPalette in ScrollBox2.
class MapPage : public QWidget {
    Q_OBJECT
public:
    // The page follows the session: a map pick shows the map, a new ROM
    // image empties it, edits and the grid setting redraw what they change.
    explicit MapPage(EditorSession& session, QWidget* parent = nullptr);
    ~MapPage() override;

    // Redraws the palette image for the current tileset.
    void UpdateBlockPalette();
    // Full redraw of the map view.
    void UpdateMap();
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

    // What a left press on the map does.
    enum class Tool { Stamp, Select, Fill, RectFill, SelectSame, MagicWand };
    Tool tool() const { return m_tool; }
    void setTool(Tool tool);
    // The selected cells' bounds, empty for none, and the cells themselves.
    QRect selection() const { return m_selection.bounds(); }
    const CellMask& selectedCells() const { return m_selection; }
    // Selects every cell of the current map that holds `block`.
    void selectSame(quint8 block);
    void selectAll();
    void selectNone();
    // The index of the map cell last under the pointer (0 at a pick), and
    // whether a left press is painting.
    int cursorCell() const { return m_cursorCell; }
    bool painting() const { return m_painting; }
    // Escape: drops the stamp taken and the selection.
    void dropSelectionAndStamp();
    // The clipboard commands, on the selection.
    void copy();
    void cut();
    void paste();
    void deleteSelection();
    // The copied blocks back at the cells they were copied from.
    void pasteInPlace();
    // Mirrors the stamp taken: X left to right, Y top to bottom.
    void flipStampHorizontally();
    void flipStampVertically();

signals:
    // "Find Uses" on the palette's context menu, for block number `block`.
    void findUsesRequested(qint32 block);
    // Text for status panel 0.
    void statusText(const QString& text);
    void toolChanged(MapPage::Tool tool);

private:
    void endInteraction();
    // Pointer handlers of the map view, in map cells.
    void MapBoxMouseMove(QPoint cell);
    void MapBoxMouseDown(QPoint cell, Qt::MouseButton button);
    void MapBoxMouseUp(QPoint cell, Qt::MouseButton button);
    void BlockPaletteMouseMove(QMouseEvent* event);
    void BlockPaletteMouseDown(QMouseEvent* event);

    // The index of cell (column, row), or -1 outside the map's cells.
    int cellAt(QPoint cell) const;
    void setViewEnabled(bool enabled);
    // Frames the palette row of the selected block.
    void showSelectedBlock(qint32 block);
    void showPickedMap();
    void showCell(int cell);

    // A rectangle dragged with a button held: a selection, a rectangle fill
    // or a stamp captured with the right button.
    enum class Drag { None, Select, RectFill, Capture };
    QRect dragRect() const { return cellSpan(m_dragStart, m_dragNow); }
    void dragTo(QPoint cell);
    void setSelection(const CellMask& cells);
    // A new selection with the modifiers of the press: Shift adds, Ctrl takes away.
    void selectCells(const CellMask& cells);
    void BlockPaletteContextMenu(QPoint at);
    void showPreview();

    EditorSession& m_session;
    std::unique_ptr<MapRenderer> m_renderer;
    BlockPaletteBox* m_palette = nullptr;   // BlockPalette
    Tool m_tool = Tool::Stamp;
    CellMask m_selection;
    Drag m_drag = Drag::None;
    QPoint m_dragStart, m_dragNow;
    QPoint m_hover{-1, -1};        // the cell under the pointer
    int m_cursorCell = 0;
    bool m_painting = false;       // from a left press with the stamp tool until its release
    QPoint m_lastStamp{-1, -1};    // where the stamp last went down in this stroke
    QPoint m_lastPainted{-1, -1};  // where the stamp last went down on this map; Shift+click lines start there
};
