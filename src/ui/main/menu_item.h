#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;

// Adds an item to `menu`: its object name (the tests and the menu letters
// find it by that), the status line's hint, its shortcut and whether it starts
// enabled.
QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                     const QKeySequence& keys = {}, bool enabled = true);
