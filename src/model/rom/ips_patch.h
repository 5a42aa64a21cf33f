#pragma once

#include "model/rom/patch_result.h"

class WorkProgress;

// IPS patches: "PATCH", records of a 24-bit offset and a 16-bit length (0
// announces a run of one repeated byte), "EOF", and optionally the 24-bit size
// the image is cut to. All numbers are big-endian.

// The patch that turns `source` into `target`. Refused for an image over
// 16 MiB, which 24-bit offsets cannot address.
PatchResult makeIpsPatch(const QByteArray& source, const QByteArray& target);

// `source` with `patch` applied. A record past the image's end makes it
// longer (the gap reads as zero bytes); a size after "EOF" cuts it. A patch
// without its header, or whose records run past its end, is refused; so is
// a record reaching past 16 MiB, and a patch whose records write more than
// 64 MiB or four times the patch's size in all, whichever is more. With
// `progress`, the patch bytes read are reported between records, and the
// work stops (no image) when asked to.
PatchResult applyIpsPatch(const QByteArray& source, const QByteArray& patch, WorkProgress* progress = nullptr);
