#pragma once

#include "catalogue/editor_core.h"
#include "encounters/encounter_tables.h"
#include "events/event_records.h"
#include "map/block_pictures.h"
#include "map/map_state.h"
#include "map/tile_picture.h"

// The one object that holds the editor's shared state. main() makes one;
// tests make as many as they like. Windows are given the parts they need.
struct EditorState {
    explicit EditorState(const QString& programDirectory) : core(programDirectory) {}

    EditorCore core;              // RomImage, RomFileName, catalogue handles, current map record
    MapState map;                 // MapBytes and the painting state
    BlockPictures pictures;       // BlockPictures, the block picture cache
    TilePicture Pics;             // the current tileset's tile picture
    EventState events;            // the event working copy
    EncounterTables encounters;   // the wild-encounter working tables
};
