// Placeholder until the start menu options are built.
#include "patches/start_menu_options.h"

StartMenuOptions::StartMenuOptions(RomImage&, QMenu*, QObject* parent) : QObject(parent) {}
void StartMenuOptions::LoadStartMenuOptions() {}
