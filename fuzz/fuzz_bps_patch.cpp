// BPS apply, the replay of a recovery patch onto a changed file and the
// metadata reader on any patch over any small image: nothing reaches outside
// the source, the target or the patch, and a patch made from two images turns
// the first into the second, also when replayed onto the same first image.
#include "model/rom/bps_patch.h"
#include "fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QByteArray source = QByteArray::fromStdString(in.ConsumeRandomLengthString(4096));
    const bool roundTrip = in.ConsumeBool();
    const QByteArray rest = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    if (roundTrip) {
        const QByteArray metadata = rest.left(rest.size() % 7);
        const QByteArray patch = makeBpsPatch(source, rest, metadata);
        const PatchResult back = applyBpsPatch(source, patch);
        FUZZ_CHECK(back.image && *back.image == rest);
        const std::optional<QByteArray> replayed = replayBpsOnto(source, patch);
        FUZZ_CHECK(replayed && *replayed == rest);
        FUZZ_CHECK(bpsMetadata(patch).value_or(QByteArray()) == metadata);
        return 0;
    }
    const QByteArray patch = QByteArrayLiteral("BPS1") + rest;
    const PatchResult applied = applyBpsPatch(source, patch);
    FUZZ_CHECK(applied.image.has_value() == applied.error.isEmpty());
    const std::optional<QByteArray> replayed = replayBpsOnto(source, patch);
    // Whatever applies with its checksums also replays, to the same bytes.
    if (applied.image)
        FUZZ_CHECK(replayed && *replayed == *applied.image);
    bpsMetadata(patch);
    return 0;
}
