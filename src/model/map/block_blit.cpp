#include "model/map/block_blit.h"

#include <QPainter>

#include <cstring>

namespace {
constexpr QRgb Black = 0xFF000000u;

bool is32Bit(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}
}

void blitImage(QImage& target, QPoint to, const QImage& source, const QRect& from)
{
    QRect src = from.intersected(source.rect());
    if (src.isEmpty())
        return;
    // Shift the destination by what the source clip cut off, then clip it too.
    QRect dst(to + (src.topLeft() - from.topLeft()), src.size());
    const QRect clipped = dst.intersected(target.rect());
    if (clipped.isEmpty())
        return;
    src.translate(clipped.topLeft() - dst.topLeft());
    src.setSize(clipped.size());

    if (!is32Bit(target) || !is32Bit(source)) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(clipped.topLeft(), source, src);
        return;
    }
    const size_t rowBytes = size_t(clipped.width()) * 4;
    uchar* out = target.bits() + qsizetype(clipped.top()) * target.bytesPerLine() + qsizetype(clipped.left()) * 4;
    const uchar* in = source.constBits() + qsizetype(src.top()) * source.bytesPerLine() + qsizetype(src.left()) * 4;
    for (int y = 0; y < clipped.height(); ++y) {
        std::memcpy(out, in, rowBytes);
        out += target.bytesPerLine();
        in += source.bytesPerLine();
    }
}

void fillBlack(QImage& target, const QRect& rect)
{
    const QRect r = rect.intersected(target.rect());
    if (r.isEmpty())
        return;
    if (!is32Bit(target)) {
        QPainter painter(&target);
        painter.fillRect(r, Qt::black);
        return;
    }
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        std::fill(line + r.left(), line + r.left() + r.width(), Black);
    }
}

void drawFrame(QImage& target, const QRect& rect)
{
    if (rect.isEmpty())
        return;
    fillBlack(target, QRect(rect.left(), rect.top(), rect.width(), 1));
    fillBlack(target, QRect(rect.left(), rect.bottom(), rect.width(), 1));
    fillBlack(target, QRect(rect.left(), rect.top(), 1, rect.height()));
    fillBlack(target, QRect(rect.right(), rect.top(), 1, rect.height()));
}
