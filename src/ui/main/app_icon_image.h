#pragma once

#include <QImage>

// The program's icon at `size` x `size` pixels, drawn by our own code: a 2 x 2
// grid of map blocks on a rounded tile in the title colours. Needs no display.
QImage kartolaIconImage(int size);

// The square sizes desktops ask for.
inline constexpr int KartolaIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
