#pragma once

#include <QImage>
#include <QRect>
#include <QString>

// A tileset's tile picture: 16 columns x 6 rows of equal cells, tile t at
// column t mod 16, row t div 16. A 256 x 96 picture gives 16 x 16 cells.
class TilePicture {
public:
    static constexpr int Columns = 16;
    static constexpr int Rows = 6;
    static constexpr int TileCount = Columns * Rows; // 96

    // Loads a bitmap file; on failure the picture is unchanged and false is returned.
    bool load(const QString& path);
    void setImage(const QImage& image);
    bool isNull() const { return m_image.isNull(); }
    const QImage& image() const { return m_image; }

    // The source cell of tile `tile`; a number above 95 has no cell and gives tile 0's.
    QRect cell(int tile) const;

private:
    QImage m_image;
};
