#include "model/map/picture_file.h"

#include "base/safe_write.h"
#include "model/map/bmp_writer.h"
#include "model/map/png_writer.h"

#include <QImage>

namespace {

// The rows of the band that starts at `top`: all but the last band are whole.
QImage& bandFor(QImage& band, int width, int rows)
{
    if (band.height() != rows)
        band = QImage(width, rows, QImage::Format_RGB32);
    return band;
}

bool writeBmpBands(const AppendBytes& append, int width, int height, int bandRows, const DrawPictureBand& draw)
{
    const QByteArray header = bmpHeader24(width, height);
    if (header.isEmpty() || !append(header.constData(), header.size()))
        return false;
    QImage band;
    QByteArray stored;
    for (int bottom = height; bottom > 0; bottom -= bandRows) {
        const int top = qMax(0, bottom - bandRows);
        QImage& rows = bandFor(band, width, bottom - top);
        draw(rows, top);
        bmpRows24(rows, &stored);
        if (!append(stored.constData(), stored.size()))
            return false;
    }
    return true;
}

bool writePngBands(const AppendBytes& append, int width, int height, int bandRows, const DrawPictureBand& draw)
{
    PngRowWriter png(width, height, append);
    QImage band;
    for (int top = 0; top < height; top += bandRows) {
        QImage& rows = bandFor(band, width, qMin(bandRows, height - top));
        draw(rows, top);
        if (!png.writeRows(rows, rows.height()))
            return false;
    }
    return png.finish();
}

} // namespace

bool isPngPictureName(const QString& path)
{
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

bool writePictureInBands(const QString& path, int width, int height, int bandRows, const DrawPictureBand& draw,
                         QString* error)
{
    const bool png = isPngPictureName(path);
    const bool written = width > 0 && height > 0 && bandRows > 0
        && writeFileAtomically(path, [&](const AppendBytes& append) {
               return png ? writePngBands(append, width, height, bandRows, draw)
                          : writeBmpBands(append, width, height, bandRows, draw);
           });
    if (!written && error)
        *error = QStringLiteral("Cannot create file %1").arg(path);
    return written;
}

bool writePictureFile(const QString& path, const QImage& image, QString* error)
{
    // The same pixels as the BMP: no alpha channel.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int bandRows = 64;
    return writePictureInBands(path, rgb.width(), rgb.height(), bandRows, [&](QImage& band, int top) {
        for (int y = 0; y < band.height(); ++y)
            memcpy(band.scanLine(y), rgb.constScanLine(top + y), size_t(rgb.bytesPerLine()));
    }, error);
}
