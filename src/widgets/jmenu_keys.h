#pragma once

#include <QChar>
#include <QList>
#include <QString>

// One item of an open menu as the letter keys see it.
struct TJMenuKeyItem {
    QString caption;
    bool enabled = true;
};

// What a letter pressed in an open menu does.
struct TJMenuKeyAnswer {
    enum Kind { Ignore, Execute, Select, Close };
    Kind kind = Ignore;
    int index = -1; // the item for Execute and Select

    bool operator==(const TJMenuKeyAnswer&) const = default;
};

// The letter a caption marks as its accelerator (the one after a single "&"),
// or a null QChar when it marks none.
QChar jmenuAccelerator(const QString& caption);

// Looks the letter `key` up in `items`, `highlighted` being the index of the
// highlighted item or -1. First the accelerators are searched, then the first
// letters of the captions (letter case ignored both times); in the second
// search a disabled match closes the menu. One match is executed; of several,
// the first one after the highlighted item is selected, or the first of all
// when none follows it. Without a match the key is left to the menu.
TJMenuKeyAnswer jmenuMenuCharacter(QChar key, const QList<TJMenuKeyItem>& items, int highlighted);
