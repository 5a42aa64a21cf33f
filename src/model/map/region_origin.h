#pragma once

#include <QPoint>
#include <optional>

class QMimeData;

// The map cell the copied blocks' top-left block came from, kept beside the
// blocks on the clipboard for Paste in Place: column and row, 32-bit
// big-endian each. Clipboards without it still paste; they have no place.
inline constexpr char RegionOriginMimeType[] = "application/x-kartola-blocks-origin";
void setRegionOrigin(QMimeData& data, QPoint cell);
// The origin, or nothing when the clipboard has none or it is not sound.
std::optional<QPoint> regionOrigin(const QMimeData& data);
