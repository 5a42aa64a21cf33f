#pragma once

#include <QString>

// Names of the files a map goes out to Tiled in.

// A file name from a map or category name that every desktop system takes:
// characters no file system takes become "_", as do a trailing dot or space
// (Windows drops them); a name Windows keeps for a device (CON, NUL, COM1 ...)
// gets a leading "_".
QString tiledFileName(const QString& name);
// The tileset of tileset number `tileset`: its base name, without extension.
QString tiledTilesetName(int tileset);

// The map properties Kartola writes and reads back.
inline constexpr char TiledMapProperty[] = "Map";
inline constexpr char TiledCategoryProperty[] = "Category";
inline constexpr char TiledStartProperty[] = "Start offset";
// The tile layer of the blocks and the object layer of the events.
inline constexpr char TiledBlocksLayer[] = "Blocks";
inline constexpr char TiledEventsLayer[] = "Events";
