#pragma once

#include <QByteArray>
#include <optional>

// Runs the actions of a BPS patch on a source other than the one it was made
// from (a ROM file changed on disk since its recovery file was written): the
// bytes the patch wrote are put over the source as it is now, the checksums
// are not asked for. Nullopt when the patch is malformed or reaches outside
// the source or the target.
std::optional<QByteArray> replayBpsOnto(const QByteArray& source, const QByteArray& patch);
