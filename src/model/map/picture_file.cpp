#include "model/map/picture_file.h"

#include "base/safe_write.h"
#include "base/work_progress.h"
#include "model/map/bmp_writer.h"
#include "model/map/png_writer.h"

#include <QImage>
#include <QThread>

#include <limits>

namespace {

bool writeBmpBands(const AppendBytes& append, int width, int height, int bandRows, const DrawPictureBand& draw,
                   ProgressSteps& steps)
{
    const QByteArray header = bmpHeader24(width, height);
    if (header.isEmpty() || !append(header.constData(), header.size()))
        return false;
    // The header's check keeps the whole file, and so a band, under 2 GiB.
    const qint64 rowBytes = bmpRowBytes(width);
    QByteArray band(qsizetype(rowBytes * bandRows), '\0');
    auto* bytes = reinterpret_cast<uchar*>(band.data());
    for (int bottom = height; bottom > 0; bottom -= bandRows) {
        if (!steps.at(height - bottom))
            return false;
        const int top = qMax(0, bottom - bandRows), rows = bottom - top;
        draw({bytes + (rows - 1) * rowBytes, -rowBytes, top, rows, true});
        if (!append(band.constData(), rows * rowBytes))
            return false;
    }
    return true;
}

bool writePngBands(const AppendBytes& append, int width, int height, int bandRows, const DrawPictureBand& draw,
                   int threads, ProgressSteps& steps)
{
    PngRowWriter png(width, height, append, threads);
    const qint64 rowBytes = qint64(width) * 3;
    if (rowBytes * bandRows > std::numeric_limits<qint32>::max())
        return false;
    QByteArray band(qsizetype(rowBytes * bandRows), '\0');
    auto* bytes = reinterpret_cast<uchar*>(band.data());
    for (int top = 0; top < height; top += bandRows) {
        if (!steps.at(top))
            return false;
        const int rows = qMin(bandRows, height - top);
        draw({bytes, rowBytes, top, rows, false});
        if (!png.writeRows(bytes, rowBytes, rows))
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
                         QString* error, int threads, WorkProgress* progress)
{
    const bool png = isPngPictureName(path);
    bandRows = qMin(bandRows, height);
    ProgressSteps steps(progress, height, 1);
    const bool written = width > 0 && height > 0 && bandRows > 0
        && writeFileAtomically(path, [&](const AppendBytes& append) {
               const bool whole = png ? writePngBands(append, width, height, bandRows, draw, threads, steps)
                                      : writeBmpBands(append, width, height, bandRows, draw, steps);
               // A stop after the last band still leaves no file.
               if (whole && progress && progress->stopped())
                   return false;
               return whole;
           });
    if (written)
        steps.end();
    if (!written && error)
        *error = QStringLiteral("Cannot create file %1").arg(path);
    return written;
}

bool writePictureFile(const QString& path, const QImage& image, QString* error)
{
    // The same pixels as the BMP: no alpha channel.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int bandRows = 64;
    return writePictureInBands(path, rgb.width(), rgb.height(), bandRows, [&](const PackedRows& band) {
        for (int i = 0; i < band.rows; ++i)
            packRgb32Row(reinterpret_cast<const QRgb*>(rgb.constScanLine(band.top + i)), rgb.width(), band.row(i),
                         band.bgr);
    }, error, QThread::idealThreadCount());
}
