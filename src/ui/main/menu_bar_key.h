#pragma once

class QMainWindow;

// F10 anywhere in `window` opens the first menu of its menu bar; the arrow
// keys then walk the menus as in any menu bar.
void addMenuBarKey(QMainWindow* window);
