#pragma once

#include <QImage>
#include <QWidget>

class DrawingSurface;
class EditorSession;
class ImageBox;
class QMouseEvent;
class QScrollArea;

// The "Map" page: the map view MapBox in ScrollBox1 and, along the right
// edge, the block palette BlockPalette in ScrollBox2.
class MapPage : public QWidget {
    Q_OBJECT
public:
    // The page follows the session: a map pick shows the map, a new ROM
    // image empties it, edits and the grid setting redraw what they change.
    explicit MapPage(EditorSession& session, QWidget* parent = nullptr);

    // Redraws the palette image for the current tileset.
    void UpdateBlockPalette();
    // Full redraw of the map view.
    void UpdateMap();
    // A new ROM image was loaded: no current map, empty view and palette.
    void clearMap();

    DrawingSurface* MapBox = nullptr;
    QWidget* BlockPalette = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QScrollArea* ScrollBox2 = nullptr;
    // The palette's off-screen image, 64 x 8192.
    QImage& paletteImage();

signals:
    // Text for status panel 0.
    void statusText(const QString& text);

private:
    void MapBoxMouseMove(QMouseEvent* event);
    void MapBoxMouseDown(QMouseEvent* event);
    void MapBoxMouseUp(QMouseEvent* event);
    void BlockPaletteMouseMove(QMouseEvent* event);
    void BlockPaletteMouseDown(QMouseEvent* event);

    // The cell under a view position, or -1 outside the map's cells.
    int cellAt(const QPoint& position) const;
    // Draws one cell from MapBytes (block, or black when it shows nothing, and its frame).
    void drawCell(int column, int row);
    void setViewEnabled(bool enabled);
    void showPickedMap();
    void showCell(int cell);

    EditorSession& m_session;
    ImageBox* m_palette = nullptr;   // BlockPalette
};
