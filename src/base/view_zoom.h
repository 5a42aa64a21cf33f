#pragma once

#include <QtGlobal>
#include <array>

// The zoom levels of the map and event views, in percent of the map's own
// pixels (a block is 64 pixels and an event square 32 at 100 %). Every size
// the views scale is a multiple of 4, so each level gives whole pixels.
namespace ViewZoom {

inline constexpr std::array<int, 5> Levels{25, 50, 100, 200, 400};
inline constexpr int Actual = 100;

constexpr bool isLevel(int percent)
{
    for (int level : Levels)
        if (level == percent)
            return true;
    return false;
}

// The next level up or down; the ends stay where they are.
constexpr int larger(int percent)
{
    for (int level : Levels)
        if (level > percent)
            return level;
    return Levels.back();
}
constexpr int smaller(int percent)
{
    for (auto it = Levels.rbegin(); it != Levels.rend(); ++it)
        if (*it < percent)
            return *it;
    return Levels.front();
}

// `pixels` at 100 % scaled to `percent`, in 64 bits (a map 10000 blocks wide is
// 2 560 000 pixels wide at 400 %).
constexpr qint64 scaled(qint64 pixels, int percent) { return pixels * percent / 100; }

// The unit (block or square) that holds view pixel `pixel` when a unit is
// `unitPixels` wide: rounded down for the map, so that a pixel left of the map
// lies in no cell; truncated toward zero for events, as square positions
// have always been taken.
constexpr qint64 unitFloor(qint64 pixel, qint64 unitPixels)
{
    return pixel >= 0 ? pixel / unitPixels : -((-pixel + unitPixels - 1) / unitPixels);
}
constexpr qint64 unitTowardZero(qint64 pixel, qint64 unitPixels) { return pixel / unitPixels; }

} // namespace ViewZoom
