#pragma once

#include "catalogue/rom_image.h"

#include <QObject>

class QMenu;

// The submenu "Visible Start Menu Options": eight entries of the game's start
// menu, each a three-byte call at a fixed offset.
class StartMenuOptions : public QObject {
    Q_OBJECT
public:
    // Fills `VisibleMenuOptions1` with its eight items.
    StartMenuOptions(RomImage& rom, QMenu* VisibleMenuOptions1, QObject* parent = nullptr);

    void LoadStartMenuOptions();
};
