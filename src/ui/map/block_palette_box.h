#pragma once

#include "ui/map/image_box.h"

// The block palette on the screen: the palette image, with a frame over the
// row of the block that painting puts on the map. The frame is drawn on the
// screen only; the image itself (saved as the tileset picture and copied by
// the block editor) never holds it.
class BlockPaletteBox : public ImageBox {
    Q_OBJECT
public:
    using ImageBox::ImageBox;

    // The palette row framed, -1 for none.
    void setSelectedRow(int row);
    int selectedRow() const { return m_selectedRow; }
    // Where the frame lies (empty for none).
    QRect frameRect() const;

    // A strong colour between two dark edges reads on any tile.
    static constexpr QRgb FrameColour = 0xFFFF00FFu;
    static constexpr QRgb EdgeColour = 0xFF000000u;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_selectedRow = -1;
};
