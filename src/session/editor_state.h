#pragma once

#include "session/editor_core.h"
#include "model/encounters/encounter_tables.h"
#include "model/events/event_records.h"
#include "model/map/block_pictures.h"
#include "model/map/map_state.h"
#include "model/map/tile_picture.h"

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
