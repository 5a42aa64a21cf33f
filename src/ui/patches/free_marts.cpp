#include "ui/patches/free_marts.h"

#include "model/rom/rom_image.h"
#include "model/patches/mart_patch.h"
#include "base/prompts.h"

void MakeAllMartsFree1Click(const RomImage& rom, Prompts& prompts, const RomPatchRunner& apply)
{
    if (!freeMartsPatchFits(rom)) {
        prompts.message(Prompts::Kind::Error, QStringLiteral("This ROM image is too small for the marts patch."));
        return;
    }
    if (!prompts.ask(Prompts::Kind::Confirmation, QStringLiteral("Are you sure that you want make all marts free?")))
        return;
    apply([](RomImage& image) {
        makeAllMartsFree(image);
        return true;
    });
    prompts.message(Prompts::Kind::Information, QStringLiteral("Done!"));
}
