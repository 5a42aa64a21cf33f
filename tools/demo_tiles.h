#pragma once

#include <QImage>

// The demo's tile pictures: 16 columns x 6 rows of 16 x 16 pixel tiles,
// tile t at column t mod 16, row t div 16, all painted by our own code.
namespace DemoTiles {

inline constexpr int TileSize = 16;
inline constexpr int Columns = 16;
inline constexpr int Rows = 6;
inline constexpr int Count = Columns * Rows;

// Tile numbers of the outdoor tileset (towns and routes).
namespace Outdoor {
enum : int {
    Grass, Grass2, Grass3, FlowersRed, FlowersYellow, TallGrass, TallGrass2, Path,
    Path2, Sand, Sand2, Paving, Paving2, Water, Water2, LilyPad,
    ShoreN, ShoreS, ShoreW, ShoreE, ShoreNW, ShoreNE, ShoreSW, ShoreSE,
    PathN, PathS, PathW, PathE, TreeTL, TreeTR, TreeBL, TreeBR,
    PineTL, PineTR, PineBL, PineBR, Bush, Stump, Hedge, Boulder,
    FenceH, FenceV, FencePost, Sign, Mailbox, LampTop, LampBottom, Well,
    RedRoofTL, RedRoofT, RedRoofTR, RedRoofL, RedRoofM, RedRoofR, RedEaveL, RedEaveM,
    RedEaveR, RedChimney, BlueRoofTL, BlueRoofT, BlueRoofTR, BlueRoofL, BlueRoofM, BlueRoofR,
    BlueEaveL, BlueEaveM, BlueEaveR, BlueChimney, WallL, WallM, WallR, Window,
    WindowFlowers, DoorTL, DoorTR, DoorBL, DoorBR, WallBaseL, WallBaseM, WallBaseR,
    CliffTop, CliffFace, CliffFace2, CaveMouthTL, CaveMouthTR, CaveMouthBL, CaveMouthBR, Ledge,
    BridgeH, BridgeV, Stairs, Ladder, SmallRocks, FlowerPot, Crate, NoticeBoard,
};
}

// Tile numbers of the cave tileset.
namespace Cave {
enum : int {
    Floor, Floor2, Floor3, FloorCrack, Gravel, Puddle, Moss, DarkFloor,
    Rock, Rock2, WallFace, WallFace2, EdgeN, EdgeS, EdgeW, EdgeE,
    EdgeNW, EdgeNE, EdgeSW, EdgeSE, InnerNW, InnerNE, InnerSW, InnerSE,
    LadderUpTL, LadderUpTR, LadderUpBL, LadderUpBR, LadderDownTL, LadderDownTR, LadderDownBL, LadderDownBR,
    BoulderTL, BoulderTR, BoulderBL, BoulderBR, Stalagmite, Stalagmite2, CrystalBlue, CrystalPink,
    Water, Water2, WaterShoreN, WaterShoreS, WaterShoreW, WaterShoreE, BridgeH, BridgeV,
    ExitTL, ExitTR, ExitBL, ExitBR, TrackH, TrackV, Torch, Crate,
    SmallRock, RockCluster, Mushroom, GlowMoss, StairsTL, StairsTR, StairsBL, StairsBR,
    // Floor and wall variants with their own grain, so large areas do not look tiled.
    FloorVariant0, FloorVariant1, FloorVariant2, FloorVariant3, FloorVariant4, FloorVariant5, FloorVariant6, FloorVariant7,
    RockVariant0, RockVariant1, RockVariant2, RockVariant3, RockVariant4, RockVariant5, RockVariant6, RockVariant7,
    OreVein0, OreVein1, OreVein2, OreVein3, CrackedFloor0, CrackedFloor1, CrackedFloor2, CrackedFloor3,
    PitTL, PitTR, PitBL, PitBR, Chest, CaveSign, Bones, Brazier,
};
}

// 256 x 96 pictures, Format_RGB32.
QImage outdoorTiles();
QImage caveTiles();

}
