#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

class QFontMetrics;
class QPainter;

// The measures an owner-drawn menu item is laid out with: the menu check-mark
// size (cw x ch) and the height of a single-line menu bar, both taken from
// the platform, plus whether check marks are shown.
struct TJMenuMetrics {
    int checkWidth = 13;
    int checkHeight = 13;
    int barHeight = 20;
    bool showCheckMarks = true;

    // M: 0.3 x the check-mark width, to the nearest integer.
    int margin() const;
    // Smallest height of an item: the menu-bar height less 2.
    int baseHeight() const { return barHeight - 2; }
    // f: where the caption starts, measured from the item's left edge.
    int textOffset(bool dropDown) const;
    // Where the check mark of a drop-down item is drawn in `item`.
    QRect checkRect(const QRect& item) const;
    // Top of a caption line `lineHeight` high, centred in `item`.
    static int textTop(const QRect& item, int lineHeight);
    // Size of an item with `caption` in the menu font. `reserved` is the room
    // kept left of the caption for an image (0 when the item has none).
    QSize measure(const QFontMetrics& font, const QString& caption, bool dropDown, bool separator,
                  int reserved) const;
};

// Text flags a caption is measured and drawn with: one line, tabs expanded,
// "&" taken as the accelerator marker.
int jmenuTextFlags(bool underlineAccelerators = true);

// A drop-down caption as it is shown: a shortcut text (after a tab) gets two
// tabs in front of it.
QString jmenuDropDownCaption(const QString& textAndShortcut);

struct TJMenuColors {
    QColor background;
    QColor text;
};

// Colours of an item; a disabled item keeps its colours while selected.
TJMenuColors jmenuItemColors(bool selected, bool enabled);

enum class TJMenuButtonStyle { None, Lowered, Raised };

struct TJMenuFrameColors {
    QColor topLeft;
    QColor bottomRight;
};

TJMenuFrameColors jmenuFrameColors(TJMenuButtonStyle style);

// A 1-pixel button frame on the edge of `rect`: the top and left edges in
// topLeft, the bottom and right edges (with both outer corners) in bottomRight.
void jmenuDrawFrame(QPainter& painter, const QRect& rect, const TJMenuFrameColors& colors);

// The check mark (a tick, or a bullet for a radio item) in `color` inside
// `box`, leaving the rest of the box as it is.
void jmenuDrawCheckMark(QPainter& painter, const QRect& box, bool radio, const QColor& color);
