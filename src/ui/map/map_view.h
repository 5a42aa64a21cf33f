#pragma once

#include "widgets/zoom_view.h"

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const MapRenderer& m_renderer;
};
