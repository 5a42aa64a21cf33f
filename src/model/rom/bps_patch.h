#pragma once

#include "model/rom/patch_result.h"

#include <optional>

class WorkProgress;

// BPS patches: "BPS1", the source size, target size and metadata size as
// variable-length numbers, the metadata, the actions that build the target
// from start to end, and the CRC-32s of the source, the target and the patch.

// How the writer looks for target bytes in the source.
enum class BpsSearch {
    // Anywhere: runs of the source at any offset (data moved by an insertion
    // or a deletion) and earlier runs of the target (repeats) are copied. The
    // smallest patches; for patch files.
    Anywhere,
    // Only at the same offset, and no run repeats a byte read from the source,
    // so that the patch replayed onto a changed source (replayBpsOnto) writes
    // exactly the bytes that were changed. For recovery files.
    SameOffset,
};

// The patch that turns `source` into `target`, carrying `metadata`, in one
// pass over the images (time linear in their size): matching bytes are read
// or copied, runs of one byte copy the target's previous byte, the rest is
// stored in the patch.
QByteArray makeBpsPatch(const QByteArray& source, const QByteArray& target, const QByteArray& metadata = {},
                        BpsSearch search = BpsSearch::Anywhere);

// `source` with `patch` applied. Refused when the patch is damaged (its
// checksum, an action out of bounds), when it was made for another image,
// or when the result fails the patch's target checksum. With `progress`, the
// target bytes built are reported between actions, and the work stops (no
// image) when asked to.
PatchResult applyBpsPatch(const QByteArray& source, const QByteArray& patch, WorkProgress* progress = nullptr);

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
