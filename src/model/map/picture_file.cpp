#include "model/map/picture_file.h"

#include "base/safe_write.h"
#include "model/map/bmp_writer.h"

#include <QBuffer>
#include <QImage>

namespace {
constexpr int PngDotsPerMeter = 2835;
}

bool isPngPictureName(const QString& path)
{
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

bool writePictureFile(const QString& path, const QImage& image, QString* error)
{
    if (!isPngPictureName(path))
        return writeBmp24(path, image, error);

    // The same pixels as the BMP: no alpha channel. The resolution is fixed
    // (72 dpi): a picture's file is the same whoever writes it, the window
    // or the command line, whatever screen there is.
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    rgb.setDotsPerMeterX(PngDotsPerMeter);
    rgb.setDotsPerMeterY(PngDotsPerMeter);
    QByteArray content;
    QBuffer buffer(&content);
    const bool encoded = !image.isNull() && buffer.open(QIODevice::WriteOnly) && rgb.save(&buffer, "PNG");
    const bool written = encoded && writeFileAtomically(path, content);
    if (!written) {
        if (error)
            *error = QStringLiteral("Cannot create file %1").arg(path);
    }
    return written;
}

