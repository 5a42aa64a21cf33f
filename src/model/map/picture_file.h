#pragma once

#include <QString>

class MapRenderer;
class QImage;

// Picture files of the map and the tileset: a name ending in ".png" (any
// letter case) is written as PNG, any other name as the 24-bit BMP of the
// picture commands.
bool isPngPictureName(const QString& path);

// Writes `image` to `path` atomically, replacing any file of that name. On
// failure returns false with "Cannot create file <path>" in `error`; an old
// file of that name stays whole.
bool writePictureFile(const QString& path, const QImage& image, QString* error);

