// IPS apply on any patch over any small image: it never reaches outside
// the image, the result stays within the 24-bit address range the format
// has (unless the image was larger already), a refusal is one line, and a
// patch made from two images turns the first into the second.
#include "model/rom/ips_patch.h"
#include "fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QByteArray source = QByteArray::fromStdString(in.ConsumeRandomLengthString(4096));
    const bool roundTrip = in.ConsumeBool();
    const QByteArray rest = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    if (roundTrip) {
        const PatchResult made = makeIpsPatch(source, rest);
        FUZZ_CHECK(made.image.has_value());
        const PatchResult back = applyIpsPatch(source, *made.image);
        FUZZ_CHECK(back.image && *back.image == rest);
        return 0;
    }
    const QByteArray patch = QByteArrayLiteral("PATCH") + rest;
    const PatchResult applied = applyIpsPatch(source, patch);
    if (applied.image) {
        FUZZ_CHECK(applied.error.isEmpty());
        FUZZ_CHECK(applied.image->size() <= qMax<qint64>(source.size(), qint64(1) << 24));
    } else {
        FUZZ_CHECK(!applied.error.isEmpty() && !applied.error.contains(QLatin1Char('\n')));
    }
    return 0;
}
