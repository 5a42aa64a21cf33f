#pragma once

#include <QtGlobal>

#include <array>

class RomImage;

// One entry of the game's start menu. Its three bytes are either a call to
// the menu routine at 6C67 (CD 67 6C: the entry is shown) or three no-ops
// (00 00 00: the entry is hidden).
struct StartMenuEntry {
    const char* itemName;   // objectName of its menu item
    const char* caption;
    qint64 offset;
};

inline constexpr qint64 StartMenuCallLength = 3;

inline constexpr std::array<StartMenuEntry, 8> StartMenuEntries{{
    {"ALMANAC1", "ALMANAC", 0x12C00},
    {"CRITTER1", "CRITTER", 0x12C0B},
    {"PACK1", "PACK", 0x12C1D},
    {"GADGET1", "GADGET", 0x12C29},
    {"PLAYER1", "PLAYER", 0x12C2E},
    {"SAVE1", "SAVE", 0x12C42},
    {"OPTION1", "OPTION", 0x12C47},
    {"EXIT2", "EXIT", 0x12C4C},
}};

// True when the entry's three bytes lie wholly inside the image.
bool startMenuEntryInside(const RomImage& rom, qint64 offset);
// True when the entry's bytes lie inside the image and the first is the call
// opcode CD; the address bytes are not looked at.
bool startMenuEntryShown(const RomImage& rom, qint64 offset);
// Writes CD 67 6C (shown) or 00 00 00 (hidden) at `offset`. Writes nothing and
// returns false when the three bytes are not inside the image.
bool setStartMenuEntry(RomImage& rom, qint64 offset, bool shown);
