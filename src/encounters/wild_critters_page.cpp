// Placeholder until the Wild Critters page is built.
#include "encounters/wild_critters_page.h"

WildCrittersPage::WildCrittersPage(EditorCore&, EncounterTables&, Prompts&, QWidget* parent) : QWidget(parent) {}
void WildCrittersPage::LoadCritter() {}
void WildCrittersPage::UpdateCritter() {}
void WildCrittersPage::SaveCritter() {}
void WildCrittersPage::clearMap() {}
