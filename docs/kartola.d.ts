// The API of Kartola's scripts. Every number is a whole number; a call given
// anything else, or a number outside its range, throws a RangeError and
// changes nothing.

/** The script's arguments. */
declare const args: string[];

/** Writes one line: the values joined by spaces, objects and arrays as JSON. */
declare function log(...values: unknown[]): void;

/** The bytes of the script's copy of the ROM image. */
declare const rom: {
    /** The image's size in bytes. */
    readonly size: number;
    /** The byte at offset (0 to size - 1). */
    byte(offset: number): number;
    /** Writes one byte, 0 to 255. */
    setByte(offset: number, value: number): void;
    /** `count` bytes from `offset`. */
    bytes(offset: number, count: number): number[];
    /** Writes the bytes from `offset`; all are checked before the first is written. */
    setBytes(offset: number, values: number[]): void;
};

/** The maps the editor lists. */
declare const catalogue: {
    /** The categories of Main.Ini in file order. */
    categories(): string[];
    /** The maps of a category in the map chooser's order; [] for an unknown category. */
    maps(category: string): string[];
};

type TimeOfDay = "morning" | "day" | "night";

interface WildSlot {
    /** 1 to 255. */
    level: number;
    /** 1 to 255. */
    number: number;
}

/** A warp; every field is one byte, 0 to 255. */
interface Warp {
    x: number;
    y: number;
    warpTo: number;
    map: number;
    mapBank: number;
}

/** A signpost; every field is one byte, 0 to 255. */
interface Signpost {
    x: number;
    y: number;
    textBlock: number;
    textBank: number;
    /** 0: an ordinary signpost; non-zero: a hidden item. */
    hiddenItem: number;
}

/** A person; every field is one byte, 0 to 255. */
interface Person {
    /** The square as the editor shows it; the image holds x + 4. */
    x: number;
    /** The square as the editor shows it; the image holds y + 4. */
    y: number;
    pictureNumber: number;
    facing: number;
    movement: number;
    function: number;
    textBlock: number;
    textBank: number;
    /** 6: shown or hidden by `when`; 255: always shown. */
    hidden: number;
    /** The entry of "Hidden/shown" in Events.ini. */
    when: number;
    unknown1: number;
    unknown2: number;
    unknown3: number;
}

/** One map, read and written through the editor's own checks. */
interface KartolaMap {
    readonly name: string;
    /** In blocks. */
    readonly width: number;
    /** In blocks. */
    readonly height: number;
    readonly tileset: number;
    /** Critters.ini gives the map a wild table. */
    readonly hasWildTable: boolean;

    /** The block byte of cell (x, y), x from 0 to width - 1, y from 0 to height - 1. */
    block(x: number, y: number): number;
    /** Writes the block byte of cell (x, y), 0 to 255. */
    setBlock(x: number, y: number, value: number): void;

    /** Slot 0 to 6 of the time's wild table; throws for a map without one. */
    encounter(time: TimeOfDay, slot: number): WildSlot;
    setEncounter(time: TimeOfDay, slot: number, level: number, number: number): void;

    /** Event i is at index i - 1. */
    readonly warps: Warp[];
    readonly signposts: Signpost[];
    readonly people: Person[];
    /** Writes warp i (1 to the count); fields left out keep their value. */
    setWarp(i: number, fields: Partial<Warp>): void;
    setSignpost(i: number, fields: Partial<Signpost>): void;
    setPerson(i: number, fields: Partial<Person>): void;
}

/** Opens a map as the map pick does; a refused or unknown map throws. */
declare function map(name: string): KartolaMap;

/** The blocks of a tileset, as the Block Editor shows and saves them. */
interface KartolaTileset {
    readonly number: number;
    /** Blocks 0 to blockCount - 1 (Blocks in Tilesets.ini). */
    readonly blockCount: number;
    /** The 16 tile numbers of a block, row by row (4 x 4). */
    tiles(block: number): number[];
    /** Writes the 16 tile numbers of a block, each 0 to 255; all are checked first. */
    setTiles(block: number, tiles: number[]): void;
}

/** Opens tileset 1 to 20; a tileset whose blocks lie outside the image throws. */
declare function tileset(n: number): KartolaTileset;
