#pragma once

class Prompts;
class RomImage;

// "Make All Marts Free": asks, writes the patch, reports "Done!". An image too
// small for the patch is refused with a message and left as it was.
void MakeAllMartsFree1Click(RomImage& rom, Prompts& prompts);
