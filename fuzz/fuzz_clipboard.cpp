// The clipboard formats on any content: the text and the editor's own
// format are read or refused, a region read is sound (its bytes fill its
// sides, within the largest map), and what the editor writes for it reads
// back as the same region in both formats.
#include "model/map/map_region.h"
#include "fuzz_support.h"

#include <QMimeData>

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

namespace {

void checkSound(const BlockRegion& region)
{
    FUZZ_CHECK(region.width >= 1 && region.height >= 1);
    FUZZ_CHECK(region.width <= BlockRegion::MaxSide && region.height <= BlockRegion::MaxSide);
    FUZZ_CHECK(region.blocks.size() == size_t(region.width) * size_t(region.height));
    const std::optional<BlockRegion> text = parseRegionText(regionText(region));
    FUZZ_CHECK(text && text->width == region.width && text->height == region.height && text->blocks == region.blocks);
    FUZZ_CHECK(parseRegionPayload(regionPayload(region)) == region);
    const std::unique_ptr<QMimeData> mime(regionMimeData(region));
    FUZZ_CHECK(regionFromMimeData(*mime) == region);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QByteArray payload = QByteArray::fromStdString(in.ConsumeRandomLengthString(size));
    const QString text = QString::fromUtf8(QByteArray::fromStdString(in.ConsumeRemainingBytesAsString()));

    QString error;
    if (const std::optional<BlockRegion> region = parseRegionText(text, &error))
        checkSound(*region);
    else
        FUZZ_CHECK(!error.isEmpty());
    if (const std::optional<BlockRegion> region = parseRegionPayload(payload))
        checkSound(*region);

    QMimeData mime;
    mime.setData(QLatin1String(RegionMimeType), payload);
    mime.setText(text);
    error.clear();
    if (const std::optional<BlockRegion> region = regionFromMimeData(mime, &error))
        checkSound(*region);
    else
        FUZZ_CHECK(!error.isEmpty());
    return 0;
}
