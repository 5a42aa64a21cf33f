#pragma once

#include <QByteArray>
#include <QImage>

// A Windows BMP file at 24 bits per pixel, bottom-up, as the editor reads tile pictures.
QByteArray demoBmp24(const QImage& image);
