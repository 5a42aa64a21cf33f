#pragma once

#include "catalogue/editor_core.h"
#include "encounters/encounter_tables.h"

#include <QWidget>

class Prompts;

// The "Wild Critters" page: the morning, day and night lists with their value
// controls, and the randomizer group.
class WildCrittersPage : public QWidget {
    Q_OBJECT
public:
    WildCrittersPage(EditorCore& core, EncounterTables& tables, Prompts& prompts, QWidget* parent = nullptr);

    void LoadCritter();    // map pick, last step
    void UpdateCritter();  // rewrites the 21 lines
    void SaveCritter();    // Save Rom, when EncounterStart > 0
    void clearMap();       // a new ROM image: groups hidden, lists empty
};
