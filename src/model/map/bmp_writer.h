#pragma once

#include <QByteArray>
#include <QString>

class QImage;

// Windows BMP at 24 bits per pixel, as the picture commands write it:
// the 14-byte file header, the 40-byte information header, no colour table,
// then the pixel rows from bottom to top, 3 bytes a pixel (blue, green, red),
// each row padded with zero bytes to a multiple of 4.
inline constexpr int BmpHeaderBytes = 54;

// Bytes of one stored pixel row of an image `width` pixels wide.
qint64 bmpRowBytes(int width);

// The 54 header bytes of a picture of width x height. Empty when the file
// would be too large for the 32-bit fields of the header.
QByteArray bmpHeader24(int width, int height);
// The stored pixel rows of `rows` (any format), as they follow each other in
// the file: its bottom row first.
QByteArray bmpRows24(const QImage& rows);

// The whole file for `image` (any format; alpha is dropped). Empty when the
// image is too large for the 32-bit fields of the header.
QByteArray encodeBmp24(const QImage& image);

// Writes `image` to `path` atomically, replacing any file of that name.
// On failure returns false with "Cannot create file <path>" in `error` and
// leaves no file behind (an old file of that name stays whole).
bool writeBmp24(const QString& path, const QImage& image, QString* error);
