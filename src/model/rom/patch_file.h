#pragma once

#include "model/rom/patch_result.h"

#include <optional>

class WorkProgress;

// Patch files on disk, IPS or BPS.
enum class PatchFormat { Ips, Bps };

// The format a patch file's name asks for: ".ips" or ".bps", in any case.
std::optional<PatchFormat> patchFormatFor(const QString& path);

// Writes the patch that turns `original` into `target` to `path`, in the
// format of its extension, atomically. Empty result: written; else the message.
QString writePatchFile(const QString& path, const QByteArray& original, const QByteArray& target);

// `image` with the patch in the file at `path` applied; the file's first
// bytes tell IPS from BPS, whatever its name. `progress` as the two
// formats' apply functions take it.
PatchResult applyPatchFile(const QString& path, const QByteArray& image, WorkProgress* progress = nullptr);
