#include "model/map/cartridge_tiles.h"

#include "model/map/tile_picture.h"
#include "model/rom/rom_image.h"

namespace CartridgeTiles {

TilePixels decodeTile(const uchar* bytes)
{
    TilePixels pixels{};
    for (int row = 0; row < TileSide; ++row) {
        const uchar low = bytes[row * 2], high = bytes[row * 2 + 1];
        for (int x = 0; x < TileSide; ++x) {
            const int bit = 7 - x;
            pixels[size_t(row * TileSide + x)] = quint8(((low >> bit) & 1) | (((high >> bit) & 1) << 1));
        }
    }
    return pixels;
}

Colours greys()
{
    return {qRgb(0xFF, 0xFF, 0xFF), qRgb(0xAA, 0xAA, 0xAA), qRgb(0x55, 0x55, 0x55), qRgb(0, 0, 0)};
}

std::optional<Colours> paletteAt(const RomImage& rom, qint64 offset)
{
    uchar bytes[PaletteBytes];
    if (!rom.contains(offset, PaletteBytes) || !rom.readAt(offset, bytes, PaletteBytes))
        return std::nullopt;
    auto channel = [](int v) { return (v << 3) | (v >> 2); };
    Colours colours{};
    for (int i = 0; i < 4; ++i) {
        const int v = bytes[i * 2] | (bytes[i * 2 + 1] << 8);
        colours[size_t(i)] = qRgb(channel(v & 0x1F), channel((v >> 5) & 0x1F), channel((v >> 10) & 0x1F));
    }
    return colours;
}

QString picture(const RomImage& rom, qint64 offset, const Colours& colours, QImage* out)
{
    if (!rom.contains(offset, PictureBytes))
        return QStringLiteral("The %1 tiles at %2 do not lie inside the ROM image.")
            .arg(PictureTiles)
            .arg(QString::number(quint64(qMax<qint64>(offset, 0)), 16).toUpper());
    const QByteArray& bytes = rom.bytes();
    const auto* base = reinterpret_cast<const uchar*>(bytes.constData()) + offset;
    constexpr int Cell = TileSide * 2;
    QImage image(TilePicture::Columns * Cell, TilePicture::Rows * Cell, QImage::Format_RGB32);
    for (int t = 0; t < PictureTiles; ++t) {
        const TilePixels pixels = decodeTile(base + qint64(t) * TileBytes);
        const int left = (t % TilePicture::Columns) * Cell, top = (t / TilePicture::Columns) * Cell;
        for (int y = 0; y < Cell; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(top + y)) + left;
            for (int x = 0; x < Cell; ++x)
                line[x] = colours[pixels[size_t((y / 2) * TileSide + x / 2)]];
        }
    }
    *out = image;
    return {};
}

} // namespace CartridgeTiles
