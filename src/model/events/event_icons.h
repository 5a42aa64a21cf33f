#pragma once

#include <QImage>
#include <array>

// The three event icons (Imgs): 32 x 32 pictures drawn once with our own code.
//   0 warp:     a blue W on a cyan-to-violet gradient
//   1 signpost: a red S on a yellow-to-orange gradient
//   2 person:   a yellow P on a green-to-cyan gradient
class EventIcons {
public:
    static constexpr int Size = 32;
    static constexpr int Alpha = 150;   // out of 255

    EventIcons();
    // Format_RGB32, 32 x 32; the event renderer blends them over the map.
    const QImage& icon(int index) const { return m_icons[size_t(index)]; }

private:
    std::array<QImage, 3> m_icons;
};

// One channel blended at alpha/255: (src * a + dst * (255 - a)) / 255, rounded.
inline int blendChannel(int src, int dst, int alpha)
{
    return (src * alpha + dst * (255 - alpha) + 127) / 255;
}
