#pragma once

#include "model/map/cell_mask.h"
#include "model/map/map_region.h"
#include "widgets/zoom_view.h"

class BlockPictures;
class MapRenderer;

// The map view: draws the exposed part of the map through the renderer, at
// the view's zoom, and reports the pointer in map cells.
class MapView : public ZoomView {
    Q_OBJECT
public:
    // The size the view has while no map is shown, at 100 %.
    static constexpr QSize DesignSize{403, 266};

    explicit MapView(const MapRenderer& renderer, QWidget* parent = nullptr);

    // Takes the map's size from the renderer (the design size without a
    // map) and redraws everything.
    void mapChanged();
    // Redraws cell (column, row).
    void updateCell(int column, int row);

    // A dashed frame around a rectangle of cells (the selection, or the
    // rectangle being dragged); an empty rectangle shows none.
    void setFrame(const QRect& cells);
    QRect frame() const { return m_frame; }
    // The outline of a selection of any shape; an empty mask shows none.
    void setOutline(const CellMask& cells);
    const CellMask& outline() const { return m_outline; }
    // The stamp drawn half-transparent with its top-left cell at `at`, over
    // the map and nothing else; an empty region shows none. Blocks are
    // drawn from `pictures` of tileset `tileset`.
    void setPreview(const BlockRegion& region, QPoint at, const BlockPictures* pictures, int tileset);
    void clearPreview();
    // The cells the preview covers (empty when none is shown).
    QRect previewCells() const;

    // The keyboard modifiers held at the last button press.
    Qt::KeyboardModifiers pressModifiers() const { return m_pressModifiers; }
    // Whether a drag with Space held is moving the map in its scroll area.
    bool panning() const { return m_panning; }

signals:
    // The pointer left the view.
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Space held turns a left drag into moving the map; no cell hears of it.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Cells in view pixels at the current zoom.
    QRect cellsRect(const QRect& cells) const;
    void drawPreview(QPainter& painter, const QRect& exposed) const;
    void drawFrame(QPainter& painter) const;
    void drawOutline(QPainter& painter, const QRect& exposed) const;

    const MapRenderer& m_renderer;
    QRect m_frame;
    CellMask m_outline;
    BlockRegion m_preview;
    QPoint m_previewAt;
    const BlockPictures* m_pictures = nullptr;
    int m_tileset = 0;
    Qt::KeyboardModifiers m_pressModifiers;
    bool m_spaceHeld = false;
    bool m_panning = false;
    QPoint m_panFrom;        // global pointer position at the pan's start
    QPoint m_panScroll;      // scroll bar values then
};
