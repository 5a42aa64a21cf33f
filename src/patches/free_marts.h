#pragma once

class Prompts;
class RomImage;

// "Make All Marts Free".
void MakeAllMartsFree1Click(RomImage& rom, Prompts& prompts);
