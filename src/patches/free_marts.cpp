// Placeholder until the free marts patch is built.
#include "patches/free_marts.h"

void MakeAllMartsFree1Click(RomImage&, Prompts&) {}
