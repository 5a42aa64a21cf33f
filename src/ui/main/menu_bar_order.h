#pragma once

class QAction;
class QMenu;
class QMenuBar;

// Puts `menu` on `bar` right after the item `after` (at the end when null
// or not on the bar).
void insertMenuAfter(QMenuBar* bar, QAction* after, QMenu* menu);
