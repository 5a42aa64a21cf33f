#pragma once

#include "model/rom/patch_result.h"

#include <optional>

// BPS patches: "BPS1", the source size, target size and metadata size as
// variable-length numbers, the metadata, the actions that build the target
// from start to end, and the CRC-32s of the source, the target and the patch.

// The patch that turns `source` into `target`, carrying `metadata`. One pass
// over the images: bytes where the source matches are read from it, runs of
// one byte copy the target's previous byte, the rest is stored in the patch.
QByteArray makeBpsPatch(const QByteArray& source, const QByteArray& target, const QByteArray& metadata = {});

// `source` with `patch` applied. Refused when the patch is damaged (its
// checksum, an action out of bounds), when it was made for another image,
// or when the result fails the patch's target checksum.
PatchResult applyBpsPatch(const QByteArray& source, const QByteArray& patch);

// The actions of `patch` run on a source other than the one it was made from
// (a ROM file changed on disk since its recovery file was written): the bytes
// the patch writes go over the source as it is now, and what it reads or
// copies from the source is taken as it is now. The result has the patch's
// target size. The checksums are not asked for; everything else is read as
// applyBpsPatch reads it. None when the patch is malformed or reaches outside
// the source, the target or itself.
std::optional<QByteArray> replayBpsOnto(const QByteArray& source, const QByteArray& patch);

// The metadata a BPS patch carries; none when it carries none or is damaged.
std::optional<QByteArray> bpsMetadata(const QByteArray& patch);
