#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// Pixel copies between 32-bit pictures (block pictures, the palette image,
// the map view's surface). Every copy is clipped to both pictures, so a
// rectangle partly or wholly outside either one is safe.

// Copies `from` of `source` 1:1 to `target` with its top-left corner at `to`.
void blitImage(QImage& target, QPoint to, const QImage& source, const QRect& from);
// Fills `rect` of `target` with black.
void fillBlack(QImage& target, const QRect& rect);
// A one-pixel black outline on the outermost pixels of `rect`.
void drawFrame(QImage& target, const QRect& rect);
