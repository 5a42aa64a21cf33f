#pragma once

#include <functional>

class Prompts;
class RomImage;

// "Make All Marts Free": asks, writes the patch through `apply` (which runs
// the patch given to it on the image, as one undoable edit), reports "Done!".
// An image too small for the patch is refused with a message and left as it was.
using RomPatchRunner = std::function<void(const std::function<bool(RomImage&)>& patch)>;
void MakeAllMartsFree1Click(const RomImage& rom, Prompts& prompts, const RomPatchRunner& apply);
