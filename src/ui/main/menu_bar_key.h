#pragma once

class QMainWindow;

// F10 anywhere in `window` opens the first menu of its menu bar; the arrow
// keys then walk the menus as in any menu bar. Escape out of a menu opened
// with the mouse, or out of the bar walked with the keyboard, gives the
// keyboard back to the widget that had it.
void addMenuBarKey(QMainWindow* window);
