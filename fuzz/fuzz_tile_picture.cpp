// The tile picture loader on any file (BMP, PNG or anything else), then
// every tile's cell and a block composed from the picture, as a tileset
// build does.
#include "fuzz_support.h"
#include "model/map/block_composer.h"
#include "model/map/tile_picture.h"

#include <QImageReader>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool once = [] {
        // A picture that claims to be huge is refused rather than allocated.
        QImageReader::setAllocationLimit(64);
        return true;
    }();
    (void)once;
    if (size < 1)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The first byte picks the file name's suffix; the loader looks at the content.
    static const char* const names[] = {"tiles.bmp", "tiles.png", "tiles.BMP", "tiles"};
    const QString path = fuzz::writeScratch(QString::fromLatin1(names[quint8(bytes[0]) % 4]), bytes.mid(1));
    TilePicture pics;
    if (!pics.load(path))
        return 0;
    FUZZ_CHECK(!pics.isNull());
    for (int t = -1; t <= TilePicture::TileCount; ++t) {
        const QRect cell = pics.cell(t);
        FUZZ_CHECK(cell.width() >= 0 && cell.height() >= 0);
        FUZZ_CHECK(QRect(QPoint(0, 0), pics.image().size()).contains(cell) || cell.isEmpty());
    }
    std::array<quint8, 16> tiles{};
    for (int i = 0; i < 16; ++i)
        tiles[size_t(i)] = quint8(bytes[i % bytes.size()]);
    QImage block = BlockComposer::emptyBlock();
    BlockComposer::compose(block, pics, tiles);
    FUZZ_CHECK(block.size() == QSize(64, 64));
    return 0;
}
