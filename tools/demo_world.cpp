#include "demo_world.h"

#include "demo_tiles.h"

#include <QHash>

namespace DemoWorld {
namespace {

// A block drawn by letter; blocks are numbered from 1 in the order given.
struct BlockDef {
    char letter;
    Block tiles;
};

Block fill(int tile)
{
    Block b;
    b.fill(quint8(tile));
    return b;
}

Block withTile(Block b, int column, int row, int tile)
{
    b[row * 4 + column] = quint8(tile);
    return b;
}

Block withRow(Block b, int row, int a, int c, int d, int e)
{
    b[row * 4 + 0] = quint8(a); b[row * 4 + 1] = quint8(c);
    b[row * 4 + 2] = quint8(d); b[row * 4 + 3] = quint8(e);
    return b;
}

Block withColumn(Block b, int column, int tile)
{
    for (int row = 0; row < 4; ++row)
        b[row * 4 + column] = quint8(tile);
    return b;
}

// Puts a 2 x 2 picture (tiles first .. first + 3) with its top-left at (column, row).
Block withQuad(Block b, int column, int row, int first)
{
    b[row * 4 + column] = quint8(first);
    b[row * 4 + column + 1] = quint8(first + 1);
    b[(row + 1) * 4 + column] = quint8(first + 2);
    b[(row + 1) * 4 + column + 1] = quint8(first + 3);
    return b;
}

// The four blocks of a house of 2 x 2 blocks: roof above, wall with windows and
// the door (in the bottom-right block, left half, bottom squares) below.
std::array<Block, 4> house(int roofTL)
{
    using namespace DemoTiles::Outdoor;
    const int tl = roofTL, t = roofTL + 1, tr = roofTL + 2, l = roofTL + 3, m = roofTL + 4, r = roofTL + 5;
    const int el = roofTL + 6, em = roofTL + 7, er = roofTL + 8, chimney = roofTL + 9;
    const int rows[8][8] = {
        {tl, t, t, t, t, t, t, tr},
        {l, m, m, m, m, chimney, m, r},
        {l, m, m, m, m, m, m, r},
        {el, em, em, em, em, em, em, er},
        {WallL, Window, WallM, WindowFlowers, WallM, WallM, Window, WallR},
        {WallL, WallM, WallM, WallM, WallM, WallM, WallM, WallR},
        {WallL, Window, WallM, WallM, DoorTL, DoorTR, WindowFlowers, WallR},
        {WallBaseL, WallBaseM, WallBaseM, WallBaseM, DoorBL, DoorBR, WallBaseM, WallBaseR},
    };
    std::array<Block, 4> blocks;
    for (int q = 0; q < 4; ++q)
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                blocks[q][row * 4 + column] = quint8(rows[(q / 2) * 4 + row][(q % 2) * 4 + column]);
    return blocks;
}

QVector<BlockDef> outdoorBlocks()
{
    using namespace DemoTiles::Outdoor;
    const Block grass = {Grass, Grass2, Grass, Grass3, Grass2, Grass, Grass3, Grass,
                         Grass, Grass3, Grass, Grass2, Grass3, Grass, Grass2, Grass};
    const Block water = {Water, Water2, Water, Water, Water, Water, LilyPad, Water2,
                         Water2, Water, Water, Water, Water, Water, Water2, Water};
    const Block path = {Path, Path, Path2, Path, Path, Path2, Path, Path,
                        Path, Path, Path, Path2, Path2, Path, Path, Path};
    const auto red = house(RedRoofTL);
    const auto blue = house(BlueRoofTL);
    Block cliff = withRow(fill(CliffFace), 0, CliffTop, CliffTop, CliffTop, CliffTop);
    cliff = withRow(cliff, 1, CliffFace, CliffFace2, CliffFace, CliffFace2);
    cliff = withRow(cliff, 2, CliffFace2, CliffFace, CliffFace2, CliffFace);
    return {
        {'.', grass},
        {',', {Grass, FlowersRed, Grass2, FlowersYellow, FlowersYellow, Grass, FlowersRed, Grass,
               Grass2, FlowersRed, Grass, FlowersYellow, FlowersRed, Grass3, FlowersYellow, Grass}},
        {'"', {TallGrass, TallGrass2, TallGrass, TallGrass2, TallGrass2, TallGrass, TallGrass2, TallGrass,
               TallGrass, TallGrass2, TallGrass, TallGrass2, TallGrass2, TallGrass, TallGrass2, TallGrass}},
        {'=', path},
        {'T', {TreeTL, TreeTR, TreeTL, TreeTR, TreeBL, TreeBR, TreeBL, TreeBR,
               TreeTL, TreeTR, TreeTL, TreeTR, TreeBL, TreeBR, TreeBL, TreeBR}},
        {'Y', {PineTL, PineTR, PineTL, PineTR, PineBL, PineBR, PineBL, PineBR,
               PineTL, PineTR, PineTL, PineTR, PineBL, PineBR, PineBL, PineBR}},
        {'~', water},
        {'^', withRow(water, 0, ShoreN, ShoreN, ShoreN, ShoreN)},
        {'v', withRow(water, 3, ShoreS, ShoreS, ShoreS, ShoreS)},
        {'<', withColumn(water, 0, ShoreW)},
        {'>', withColumn(water, 3, ShoreE)},
        {'1', withColumn(withRow(water, 0, ShoreNW, ShoreN, ShoreN, ShoreN), 0, ShoreW)},
        {'2', withColumn(withRow(water, 0, ShoreN, ShoreN, ShoreN, ShoreNE), 3, ShoreE)},
        {'3', withColumn(withRow(water, 3, ShoreSW, ShoreS, ShoreS, ShoreS), 0, ShoreW)},
        {'4', withColumn(withRow(water, 3, ShoreS, ShoreS, ShoreS, ShoreSE), 3, ShoreE)},
        {'a', red[0]}, {'b', red[1]}, {'c', red[2]}, {'d', red[3]},
        {'e', blue[0]}, {'f', blue[1]}, {'g', blue[2]}, {'h', blue[3]},
        {'#', withRow(grass, 2, FenceH, FenceH, FenceH, FenceH)},
        {'|', withColumn(grass, 1, FenceV)},
        {'s', withTile(grass, 1, 2, Sign)},
        {':', {Sand, Sand, Sand2, Sand, Sand, Sand, Sand, Sand2, Sand2, Sand, Sand, Sand, Sand, Sand2, Sand, Sand}},
        {'+', {Paving, Paving2, Paving, Paving2, Paving2, Paving, Paving2, Paving,
               Paving, Paving2, Paving, Paving2, Paving2, Paving, Paving2, Paving}},
        {'O', withQuad(cliff, 2, 2, CaveMouthTL)},
        {'M', cliff},
        {'B', withRow(withRow(water, 1, BridgeH, BridgeH, BridgeH, BridgeH), 2, BridgeH, BridgeH, BridgeH, BridgeH)},
        {'H', withColumn(withColumn(water, 1, BridgeV), 2, BridgeV)},
        {'*', {FlowersRed, Bush, FlowersYellow, Bush, Bush, FlowersRed, Bush, FlowersYellow,
               FlowersYellow, Bush, FlowersRed, Bush, Bush, FlowersYellow, Bush, FlowersRed}},
        {'i', withTile(withTile(path, 1, 1, LampTop), 1, 2, LampBottom)},
        {'o', withTile(grass, 1, 1, Boulder)},
        {'_', withRow(grass, 2, Ledge, Ledge, Ledge, Ledge)},
        {'m', withTile(grass, 2, 2, Mailbox)},
        {'w', withTile(withTile(fill(Paving), 1, 1, Well), 2, 2, FlowerPot)},
        {'k', withTile(withTile(path, 0, 0, Crate), 3, 3, SmallRocks)},
        {'n', withTile(fill(Paving2), 1, 2, NoticeBoard)},
        {'L', {Hedge, Hedge, Hedge, Hedge, Stump, Grass, Grass2, Stump, PathN, PathN, PathN, PathN, Path, Path2, Path, Path}},
        {'E', {PathW, Path, Path, PathE, PathW, Path2, Path, PathE, PathW, Path, Path, PathE, PathW, Path, PathS, PathE}},
        // Read by the tileset build after the last shown block.
        {'S', withColumn(withColumn(cliff, 1, Stairs), 2, Ladder)},
    };
}

QVector<BlockDef> caveBlocks()
{
    using namespace DemoTiles::Cave;
    const Block floor = {Floor, Floor2, FloorVariant0, Floor, FloorVariant1, Floor, Floor2, FloorVariant2,
                         Floor, FloorVariant3, Floor, Floor2, Floor2, Floor, FloorVariant4, Floor};
    const Block rock = {Rock, Rock2, RockVariant0, Rock, RockVariant1, Rock, RockVariant2, Rock2,
                        Rock2, RockVariant3, Rock, RockVariant4, Rock, RockVariant5, Rock2, RockVariant6};
    const Block water = {Water, Water2, Water, Water, Water, Water, Water2, Water,
                         Water2, Water, Water, Water2, Water, Water2, Water, Water};
    return {
        {'.', floor},
        {',', {Floor3, Gravel, FloorVariant5, SmallRock, FloorVariant6, Floor3, FloorCrack, FloorVariant7,
               Gravel, FloorVariant5, Floor3, Gravel, CrackedFloor0, Gravel, FloorVariant6, Floor3}},
        {'#', rock},
        {'^', withRow(floor, 0, EdgeN, EdgeN, EdgeN, EdgeN)},
        {'v', withRow(floor, 3, EdgeS, EdgeS, EdgeS, EdgeS)},
        {'<', withColumn(floor, 0, EdgeW)},
        {'>', withColumn(floor, 3, EdgeE)},
        {'1', withColumn(withRow(floor, 0, EdgeNW, EdgeN, EdgeN, EdgeN), 0, EdgeW)},
        {'2', withColumn(withRow(floor, 0, EdgeN, EdgeN, EdgeN, EdgeNE), 3, EdgeE)},
        {'3', withColumn(withRow(floor, 3, EdgeSW, EdgeS, EdgeS, EdgeS), 0, EdgeW)},
        {'4', withColumn(withRow(floor, 3, EdgeS, EdgeS, EdgeS, EdgeSE), 3, EdgeE)},
        {'U', withQuad(floor, 0, 0, LadderUpTL)},
        {'D', withQuad(floor, 0, 0, LadderDownTL)},
        {'o', withQuad(floor, 1, 1, BoulderTL)},
        {'~', water},
        {'A', withTile(withTile(withTile(floor, 0, 1, Stalagmite), 2, 0, Stalagmite2), 3, 3, Stalagmite)},
        {'*', withTile(withTile(withTile(floor, 1, 0, CrystalBlue), 3, 2, CrystalPink), 0, 3, CrystalBlue)},
        {'E', withQuad(withRow(withRow(rock, 2, WallFace, WallFace2, WallFace, WallFace2), 3, Floor, Floor2, Floor, Floor), 0, 0, ExitTL)},
        {'S', withQuad(floor, 0, 0, StairsTL)},
        {'X', withQuad(floor, 1, 1, PitTL)},
        {'c', withTile(withTile(floor, 1, 1, Chest), 3, 3, Bones)},
        {'-', withRow(water, 0, WaterShoreN, WaterShoreN, WaterShoreN, WaterShoreN)},
        {'B', withColumn(withColumn(water, 1, BridgeV), 2, BridgeV)},
        {'=', withRow(withRow(floor, 1, TrackH, TrackH, TrackH, TrackH), 2, Crate, Floor, Floor, Brazier)},
        {'s', withTile(floor, 1, 2, CaveSign)},
        {'t', withRow(withRow(rock, 2, WallFace, Torch, WallFace2, Torch), 3, WallFace2, WallFace, WallFace2, WallFace)},
        {'g', {OreVein0, Rock, OreVein1, RockVariant7, Rock2, OreVein2, Rock, OreVein3,
               RockVariant7, Rock, OreVein1, Rock2, OreVein0, RockVariant6, Rock, OreVein2}},
        {'m', {Moss, GlowMoss, Moss, Mushroom, Floor, Moss, Puddle, Moss,
               Mushroom, Moss, GlowMoss, Floor, Moss, DarkFloor, Moss, GlowMoss}},
        {'w', withColumn(withColumn(water, 0, WaterShoreW), 3, WaterShoreE)},
        {'_', withRow(water, 3, WaterShoreS, WaterShoreS, WaterShoreS, WaterShoreS)},
        {'r', withTile(withTile(floor, 0, 0, RockCluster), 2, 2, InnerSE)},
        {'|', withColumn(withColumn(floor, 1, TrackV), 0, InnerNW)},
        // Read by the tileset build after the last shown block.
        {'!', withTile(withTile(floor, 1, 1, InnerNE), 2, 2, InnerSW)},
    };
}

// What a map's letters stand for beyond their block: events placed on them.
// 'P' a person on a path or floor, 'Q' a person on grass, 'x' a hidden item.
struct Letters {
    QHash<char, int> block;        // letter -> block number
    char personOnPath, personOnGrass, hiddenItemGround;
    QString doors;                 // letters whose block holds a door (warp in its bottom-left square)
    QString specials;              // letters of cave mouths, exits and ladders
};

struct Layout {
    QString name, category, comment;
    int tileset;
    int bank, number;
    QStringList rows;
    // Destinations of the warps that are not house doors, in reading order (rows top to bottom).
    QVector<Warp> specialWarps;
    int encounterSeed;             // 0: no wild creatures
    int firstCritter, critterSpread, baseLevel;
};

QVector<Layout> layouts()
{
    return {
        {"Mossbrook Town", "Towns", "Mossbrook Town - a quiet village by the pond", 1, 24, 1,
         {"TTTTTTTTTT",
          "Tab.ef.i.T",
          "Tcd.gh.,.T",
          "T.==P===.T",
          "T.=s.,.=.T",
          "T,=.12.=,T",
          "T.=.34.=mT",
          "T.==P==Q.T",
          "TTTT==TTTT"},
         {}, 0, 0, 0, 0},
        {"Cinderfield City", "Towns", "Cinderfield City - market town on the river", 1, 24, 2,
         {"YYYYYYYYYYYYYYYYYYYY",
          "Y.ab..ef....ab..,,.Y",
          "Y.cd..gh....cd..*,.Y",
          "Y..=...=.....=.s...Y",
          "Y..=======P======..Y",
          "Y..=....++++....=..Y",
          "Y..=....+wn+....=..Y",
          "Y..=....++++..Q.=..Y",
          "Y..=..,,....,...=..Y",
          "^^^H^^^^^^^^^^^^H^^^",
          "vvvHvvvvvvvvvvvvHvvv",
          "Y..=............=..Y",
          "Y..=..ef....ab..=..Y",
          "Y..=..gh....cd..=..Y",
          "Y..===========P==..Y",
          "Y.....i..=....,,.:.Y",
          "Y.o......=.....m...Y",
          "YYYYYYYYY==YYYYYYYYY"},
         {}, 0, 0, 0, 0},
        {"Willow Path", "Routes", "Willow Path - from Mossbrook up to the hills", 1, 24, 3,
         {"TTTT==TTTT",
          "T...==...T",
          "T.\"\"==\"\".T",
          "T\"\"\"=P\"\"\"T",
          "T\"\"\"==\"\"\"T",
          "T..s==...T",
          "TT..==..TT",
          "T,..==.oTT",
          "T___==___T",
          "T...==...T",
          "T\"\"\"==\"x\"T",
          "T\"\"\"==\"\"\"T",
          "T..\"==\"..T",
          "TT..=P..TT",
          "T...==...T",
          "T,,.==.,,T",
          "TTT.==.TTT",
          "TTTT==TTTT"},
         {}, 11, 10, 8, 3},
        {"Amber Road", "Routes", "Amber Road - cliffs, a river and the cave of echoes", 1, 24, 4,
         {"MMMMMMMMOMMMM<>YYYYY",
          "Y.,.....=....<>.YYYY",
          "Y...\"\"\"\"=\"\"..<>..\"\"Y",
          "Y..\"\"\"\"\"=\"\".s<>..\"\"Y",
          "==========P==BB=====",
          "Y::\"\"\".......<>\"\"\".Y",
          "Y:::..o....Q.<>..x.Y",
          "Y::,,......,.<>.,,.Y",
          "YYYYYYYYYYYYY<>YYYYY"},
         {{0, 0, 1, 3, 1}}, 23, 14, 10, 6},
        {"Lakeside Trail", "Routes", "Lakeside Trail - pines around a still lake", 1, 24, 5,
         {"YYYYYYY==YYYYYYY",
          "Y......==..\"\"\"\"Y",
          "Y.1^^^2==.\"\"\"\"\"Y",
          "Y.<~~~>==s\"\"\"\"\"Y",
          "Y.<~~~>=P.\"\"\"\"\"Y",
          "Y.3vvv4==....,.Y",
          "Y..Q...=========",
          "Y\"\"\"\"..=....o..Y",
          "Y\"\"\"\"..=..Y...,Y",
          "Y\"\"x\"..P..YY...Y",
          "Y.....,=,......Y",
          "YYYYYYY=YYYYYYYY"},
         {}, 37, 20, 12, 9},
        {"Echo Hollow", "Caves", "Echo Hollow - the upper cave behind Amber Road", 2, 3, 1,
         {"######E#########",
          "#1^^^^.^^2##1^2#",
          "#<.,..P..>##<.>#",
          "#<..A...*>##<U>#",
          "#<..........,.>#",
          "#<.o.....=====>#",
          "#<......s.....>#",
          "#<.----B---..X>#",
          "#<.~~~~B~~~.P.>#",
          "#<..,...,..A.D>#",
          "#3vvvvvvvvvvvv4#",
          "################"},
         {{0, 0, 1, 24, 4}, {0, 0, 1, 3, 3}, {0, 0, 1, 3, 2}}, 51, 30, 9, 14},
        {"Glimmer Deep", "Caves", "Glimmer Deep - crystal chamber below Echo Hollow", 2, 3, 2,
         {"############",
          "#1^^^^^^^^2#",
          "#<U..*..*.>#",
          "#<....A...>#",
          "#<.*..P.c.>#",
          "#<..,,...*>#",
          "#<.s..X...>#",
          "#<*..A..*x>#",
          "#3vvvvvvvv4#",
          "############"},
         {{0, 0, 3, 3, 1}}, 67, 40, 8, 20},
    };
}

// Three times of day, seven slots each: level, then creature number.
QByteArray encounterTable(const Layout& l)
{
    QByteArray table;
    quint32 state = quint32(l.encounterSeed) * 7919u;
    auto next = [&](int range) { state = state * 1103515245u + 12345u; return int((state >> 16) % quint32(range)); };
    for (int time = 0; time < 3; ++time) {
        for (int k = 0; k < 7; ++k) {
            // Night brings other creatures; later slots are rarer and a little stronger.
            const int critter = l.firstCritter + (time == 2 ? l.critterSpread / 2 : 0) + next(l.critterSpread);
            table.append(char(l.baseLevel + k / 2 + next(3)));
            table.append(char(critter));
        }
    }
    return table;
}

bool placeEvents(Map& map, const Layout& l, const Letters& letters, QString* error)
{
    int special = 0, doorNumber = 1, text = 1, person = 0;
    const int textBank = 0x40 + map.number;
    static const int pictures[] = {3, 12, 27, 41, 8, 19, 33, 5, 22, 14};
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x) {
            const char c = l.rows[y].at(x).toLatin1();
            if (letters.doors.contains(QLatin1Char(c))) {
                map.warps.append({2 * x, 2 * y + 1, 1, 6, map.number * 8 + doorNumber++});
            } else if (letters.specials.contains(QLatin1Char(c))) {
                if (special >= l.specialWarps.size()) {
                    *error = QStringLiteral("%1: no destination for the warp at %2,%3").arg(l.name).arg(x).arg(y);
                    return false;
                }
                Warp w = l.specialWarps[special++];
                // The cave mouth's opening lies in the block's bottom-right square.
                w.x = c == 'O' ? 2 * x + 1 : 2 * x;
                w.y = c == 'O' ? 2 * y + 1 : 2 * y;
                map.warps.append(w);
            } else if (c == 's') {
                map.signposts.append({2 * x, 2 * y + 1, 0, text++, textBank});
            } else if (c == letters.hiddenItemGround) {
                map.signposts.append({2 * x + 1, 2 * y + 1, 7, text++, textBank});
            } else if (c == letters.personOnPath || c == letters.personOnGrass) {
                const int n = person++;
                // The first person of every map is there only after the badge has been won.
                const bool conditional = n == 1;
                map.people.append({2 * x + (n % 2), 2 * y, pictures[(map.number + n) % 10], n % 4, 1 + n % 3,
                                   255, 255, 0, 0, text++, textBank, conditional ? 1 : 255, conditional ? 6 : 255});
            }
        }
    }
    if (special != l.specialWarps.size()) {
        *error = QStringLiteral("%1: %2 warp destinations but %3 warps").arg(l.name).arg(l.specialWarps.size()).arg(special);
        return false;
    }
    return true;
}

Tileset makeTileset(int number, const QString& tiles, const QString& file, const QImage& picture,
                    const QVector<BlockDef>& defs, Letters& letters)
{
    Tileset t;
    t.number = number;
    t.tiles = tiles;
    t.pictureFile = file;
    t.picture = picture;
    for (const BlockDef& d : defs) {
        t.blocks.append(d.tiles);
        letters.block.insert(d.letter, int(t.blocks.size()));
    }
    return t;
}

} // namespace

World buildWorld(QString* error)
{
    World world;
    Letters outdoor{{}, 'P', 'Q', 'x', QStringLiteral("dh"), QStringLiteral("O")};
    Letters cave{{}, 'P', 'P', 'x', QString(), QStringLiteral("EUD")};
    world.tilesets.append(makeTileset(1, QStringLiteral("tiles\\outdoor.bmp"), QStringLiteral("tiles/outdoor.bmp"),
                                      DemoTiles::outdoorTiles(), outdoorBlocks(), outdoor));
    world.tilesets.append(makeTileset(2, QStringLiteral("tiles/cave.bmp"), QStringLiteral("tiles/cave.bmp"),
                                      DemoTiles::caveTiles(), caveBlocks(), cave));
    // The letters that carry an event stand on ground.
    outdoor.block.insert('P', outdoor.block.value('='));
    outdoor.block.insert('Q', outdoor.block.value('.'));
    outdoor.block.insert('x', outdoor.block.value('"'));
    cave.block.insert('P', cave.block.value('.'));
    cave.block.insert('x', cave.block.value('.'));

    for (const Layout& l : layouts()) {
        Map map;
        map.name = l.name;
        map.category = l.category;
        map.comment = l.comment;
        map.tileset = l.tileset;
        map.bank = l.bank;
        map.number = l.number;
        map.height = int(l.rows.size());
        map.width = map.height ? int(l.rows.first().size()) : 0;
        const Letters& letters = l.tileset == 1 ? outdoor : cave;
        const int shown = world.tilesets[l.tileset - 1].shownBlocks();
        for (int y = 0; y < map.height; ++y) {
            if (l.rows[y].size() != map.width) {
                *error = QStringLiteral("%1: row %2 is %3 blocks wide, not %4").arg(l.name).arg(y).arg(l.rows[y].size()).arg(map.width);
                return {};
            }
            for (QChar ch : l.rows[y]) {
                const int block = letters.block.value(ch.toLatin1(), 0);
                if (block < 1 || block > shown) {
                    *error = QStringLiteral("%1: no block for '%2'").arg(l.name, QString(ch));
                    return {};
                }
                map.blocks.append(char(block));
            }
        }
        if (!placeEvents(map, l, letters, error))
            return {};
        if (l.encounterSeed)
            map.encounters = encounterTable(l);
        if (!world.categories.contains(map.category))
            world.categories.append(map.category);
        world.maps.append(map);
    }
    return world;
}

}
