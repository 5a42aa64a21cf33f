#pragma once

#include "model/rom/rom_image.h"

#include <QtGlobal>

// The image a script works on, with a count of the writes made to it: a
// working copy read from the image is read again once the count has moved
// past the one it was read at, so every write is seen by every later read.
struct ScriptImage {
    RomImage rom;
    quint64 writes = 0;

    void wrote() { ++writes; }
};
